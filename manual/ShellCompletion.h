#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace manual {

// Completion scripts for bash, zsh and fish, made from a program's CLI11
// command line: subcommands and options where a command word or an option is
// due, file names for option values and arguments.
class ShellCompletion {
 public:
  static std::string Bash(const CLI::App& app, const std::string& program);
  static std::string Zsh(const CLI::App& app, const std::string& program);
  static std::string Fish(const CLI::App& app, const std::string& program);
};

}  // namespace manual
