#include "app/CommandRouter.h"

namespace app {

void CommandRouter::Add(const ui::CommandTable& table) { rows_.insert(rows_.end(), table.begin(), table.end()); }

const ui::CommandRow* CommandRouter::Find(uint32_t command) const {
  for (const ui::CommandRow& row : rows_) {
    if (row.Covers(command)) return &row;
  }
  return nullptr;
}

bool CommandRouter::CanAct(const ui::CommandContext& context, uint32_t command) const {
  const ui::CommandRow* row = Find(command);
  return row && row->acts(context, command);
}

bool CommandRouter::Run(const ui::CommandContext& context, uint32_t command) const {
  const ui::CommandRow* row = Find(command);
  if (!row || !row->acts(context, command)) return false;
  row->run(context, command);
  return true;
}

}  // namespace app
