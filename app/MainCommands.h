#pragma once

#include <functional>

#include "ui/CommandTable.h"

namespace app {

// The main window's commands that talk to the service without a screen of their
// own: Sync in the home and blog views, and Check for Updates, whose chosen
// download ends the program through `exit`.
class MainCommands {
 public:
  static ui::CommandTable Table(std::function<void()> exit);
};

}  // namespace app
