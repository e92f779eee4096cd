#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// View Comments of the entry in the viewer: the Comments screen, or for an
// entry the service does not know yet the message that it needs a sync first.
class CommentCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
