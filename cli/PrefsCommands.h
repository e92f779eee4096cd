#pragma once

#include <CLI/CLI.hpp>

#include <iosfwd>
#include <string>

#include "cli/CliContext.h"

namespace cli {

// `tessary-cli prefs`: lists the preferences with their values, shows, sets and
// resets one. Each operation answers an exit status, printing data on `out` and
// complaints on `err`.
class PrefsCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);

  static int List(bool json, std::ostream& out, std::ostream& err);
  static int Get(const std::string& name, bool json, std::ostream& out, std::ostream& err);
  static int Set(const std::string& name, const std::string& value, bool json, std::ostream& out,
                 std::ostream& err);
  static int Reset(const std::string& name, bool json, std::ostream& out, std::ostream& err);
};

}  // namespace cli
