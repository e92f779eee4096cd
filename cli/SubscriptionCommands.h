#pragma once

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"

namespace cli {

// `tessary-cli subscribe | unsubscribe | blog-prefs`: the blog management screens.
class SubscriptionCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);
};

}  // namespace cli
