#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Send Blog E-Mail / Send Photo E-Mail and Post Remote Entry: the refusals for
// subjects the service does not know yet and for an account without remote blogs.
class ShareCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
