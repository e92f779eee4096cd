#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "manual/ProgramManual.h"

namespace manual {

// A section 1 manual page in roff, made from a program's CLI11 command line
// (every subcommand with its options and arguments, the variables the options
// read) and the texts of its ProgramManual.
class ManPage {
 public:
  static std::string Write(const CLI::App& app, const ProgramManual& manual);
};

}  // namespace manual
