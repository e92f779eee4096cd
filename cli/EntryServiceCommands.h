#pragma once

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"

namespace cli {

// `tessary-cli comments | comment | uncomment | download | mail | remote-post`:
// what the viewer's comments, download, e-mail and remote post screens do.
class EntryServiceCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);
};

}  // namespace cli
