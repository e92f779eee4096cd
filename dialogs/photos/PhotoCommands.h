#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Photo housekeeping: Purge Photos and Move Photos of the blog view, Download
// Photo and Purge Photo of the entry in the viewer.
class PhotoCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
