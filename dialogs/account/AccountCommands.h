#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Account Info.
class AccountCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
