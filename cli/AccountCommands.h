#pragma once

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"

namespace cli {

// `tessary-cli login | account | create-account | create-blog`: the account
// screens without a screen, with their validation rules and messages.
class AccountCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);
};

}  // namespace cli
