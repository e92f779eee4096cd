#pragma once

#include "ui/CommandTable.h"

namespace app {

// The main window's commands that talk to the service without a screen of their
// own: Sync in the home and blog views, and Check for Updates.
class MainCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace app
