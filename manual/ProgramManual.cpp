#include "manual/ProgramManual.h"

namespace manual {

namespace {

void AppendList(std::string& out, const char* heading, const std::vector<ProgramManual::Item>& items) {
  if (items.empty()) return;
  if (!out.empty()) out += '\n';
  out += heading;
  out += ":\n";
  for (const ProgramManual::Item& item : items) {
    std::string line = "  " + item.term;
    // CLI11 puts descriptions in a column 30 characters in.
    line += line.size() < 30 ? std::string(30 - line.size(), ' ') : std::string("\n") + std::string(30, ' ');
    out += line + item.text + '\n';
  }
}

}  // namespace

std::string ProgramManual::HelpFooter() const {
  std::string out;
  AppendList(out, "Exit status", exitStatuses);
  AppendList(out, "Environment", environment);
  return out;
}

}  // namespace manual
