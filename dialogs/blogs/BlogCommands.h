#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Subscribe to Blog, Create New Blog, Edit Blogs and Blog Prefs. Without a
// login, Subscribe and Create run the welcome flow instead, which ends in a
// login or a new account with its first blog. A blog subscribed to or created
// is saved, added to the account's list and shown.
class BlogCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
