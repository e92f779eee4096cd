#pragma once

#include <string>
#include <vector>

namespace manual {

// What a program's manual page says beyond its options and subcommands: the
// texts its --help footer shows too, so the two cannot drift apart.
struct ProgramManual {
  struct Item {
    std::string term;
    std::string text;
  };

  std::string name;
  std::string version;
  // One line for the NAME section.
  std::string summary;
  std::vector<std::string> description;
  std::vector<Item> exitStatuses;
  // Variables read besides the options' own (those come from the options).
  std::vector<Item> environment;
  std::vector<Item> files;
  // Command lines and what they do.
  std::vector<Item> examples;
  std::vector<std::string> seeAlso;

  // Exit statuses and the extra variables, laid out like CLI11's lists.
  std::string HelpFooter() const;
};

}  // namespace manual
