#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Subscribe to Blog and Create New Blog. Without a login both run the welcome
// flow instead, which ends in a login or a new account with its first blog.
class BlogCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
