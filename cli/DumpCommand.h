#pragma once

#include <CLI/CLI.hpp>

#include <iosfwd>
#include <string>

#include "cli/CliContext.h"

namespace cli {

// `tessary-cli dump FILE` prints a user file or a blog database (told apart by
// content) as JSON; `tessary-cli rewrite FILE` loads such a file and writes it
// back in place, atomically, in the current format. FILE is a path of the host.
class DumpCommand {
 public:
  static void Register(CLI::App& app, CliContext& ctx);

  // 0, or 1 after printing what could be read and saying why on `err`.
  static int Dump(const std::string& hostPath, std::ostream& out, std::ostream& err);
  // 0, or 1 when the file does not load completely (it is then left untouched) or
  // cannot be written.
  static int Rewrite(const std::string& hostPath, std::ostream& out, std::ostream& err);
};

}  // namespace cli
