#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Purge Photo of the entry in the viewer.
class PhotoCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
