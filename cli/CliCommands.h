#pragma once

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"

namespace cli {

// Every command group of tessary-cli, registered on the app with the context
// they share.
class CliCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);
};

}  // namespace cli
