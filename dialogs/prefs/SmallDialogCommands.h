#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Font (the Choose Font screen over the entry list's font, written as "Main
// View Font") and About Tessary.
class SmallDialogCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
