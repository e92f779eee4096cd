#pragma once

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"

namespace cli {

// `tessary-cli sync | check-updates | channels`: the Sync commands of the home
// and blog views, the update check and the recommended blogs.
class SyncCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);
};

}  // namespace cli
