#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace manual {

// The commands of a CLI11 app as its help shows them: the app, then every
// visible subcommand depth first, each with the words that lead to it.
class CommandTree {
 public:
  struct Node {
    std::vector<std::string> path;
    const CLI::App* app;
  };

  static std::vector<Node> Walk(const CLI::App& app);
  static std::vector<const CLI::App*> Subcommands(const CLI::App& app);
  // Visible options that are not positionals, in the order they were added.
  static std::vector<const CLI::Option*> Options(const CLI::App& app);
  static std::vector<const CLI::Option*> Positionals(const CLI::App& app);
  // "-h", "--help": short names first.
  static std::vector<std::string> Names(const CLI::Option& option);
  static bool TakesValue(const CLI::Option& option);
  static bool Repeats(const CLI::Option& option);
  // The placeholder for an option's value or a positional: "DIR", "BLOG".
  static std::string ValueName(const CLI::Option& option);
};

}  // namespace manual
