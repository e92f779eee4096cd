#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Send Blog E-Mail / Send Photo E-Mail and Post Remote Entry: about the entry in
// the viewer, else about the category the blog shows. Refused for subjects the
// service does not know yet and, for the post, for an account without remote
// blogs; otherwise their screens.
class ShareCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
