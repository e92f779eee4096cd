#pragma once

#include <cstdint>

#include "ui/CommandTable.h"

namespace app {

// The main window's commands, joined from the feature tables: the first row that
// covers a command decides when it acts and runs it.
class CommandRouter {
 public:
  void Add(const ui::CommandTable& table);
  bool CanAct(const ui::CommandContext& context, uint32_t command) const;
  // Runs the command when it acts now; answers whether it ran.
  bool Run(const ui::CommandContext& context, uint32_t command) const;

 private:
  const ui::CommandRow* Find(uint32_t command) const;

  ui::CommandTable rows_;
};

}  // namespace app
