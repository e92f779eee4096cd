#pragma once

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace cli {

// What a command printed and the status it ended with.
struct Output {
  int status = -1;
  std::string out;
  std::string err;
  nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

// Runs `command(out, err)` and keeps what it printed.
template <class F>
Output Capture(F command) {
  std::ostringstream out, err;
  Output o;
  o.status = command(out, err);
  o.out = out.str();
  o.err = err.str();
  return o;
}

}  // namespace cli
