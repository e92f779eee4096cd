#pragma once

#include <CLI/CLI.hpp>

#include "cli/CliContext.h"

namespace cli {

// `tessary-cli font`: the Choose Font screen over the "Main View Font"
// preference. Without arguments it shows the font; --list lists the installed
// families; a family, --size and the style flags choose a font as the screen's
// OK does (what is not given keeps its value).
class FontCommand {
 public:
  static void Register(CLI::App& app, CliContext& ctx);
};

}  // namespace cli
