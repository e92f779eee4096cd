#pragma once

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "manual/ProgramManual.h"

namespace cli {

// tessary-cli as a whole: its description, --version and every command, as the
// program parses them and as its manual page and shell completions show them.
class CliProgram {
 public:
  static void Define(CLI::App& app, CliContext& ctx);
  // The texts of the manual page and of the --help footer.
  static manual::ProgramManual Manual();
};

}  // namespace cli
