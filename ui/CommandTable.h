#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "ui/CommandContext.h"

namespace ui {

// One command of the main window (or a run of numbered ones, such as the
// category commands): when it acts, and what it runs.
struct CommandRow {
  using Acts = std::function<bool(const CommandContext&, uint32_t command)>;
  using Runs = std::function<void(const CommandContext&, uint32_t command)>;

  uint32_t first = 0;
  uint32_t last = 0;
  Acts acts;
  Runs run;

  bool Covers(uint32_t command) const { return command >= first && command <= last; }

  // A row for one command whose rules do not need its number.
  static CommandRow One(uint32_t command, std::function<bool(const CommandContext&)> acts,
                        std::function<void(const CommandContext&)> run) {
    return {command, command, [acts = std::move(acts)](const CommandContext& c, uint32_t) { return acts(c); },
            [run = std::move(run)](const CommandContext& c, uint32_t) { run(c); }};
  }
};

// A feature's commands.
using CommandTable = std::vector<CommandRow>;

// Rules of when a command acts, shared by the tables.
namespace acts {
inline bool Always(const CommandContext&) { return true; }
inline bool BlogOpen(const CommandContext& c) { return c.blog != nullptr; }
inline bool ViewerOpen(const CommandContext& c) { return c.entry != nullptr; }
}  // namespace acts

}  // namespace ui
