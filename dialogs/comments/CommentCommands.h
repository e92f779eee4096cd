#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// View Comments of the entry in the viewer.
class CommentCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
