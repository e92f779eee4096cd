#pragma once

#include <string>
#include <vector>

namespace cli {

// The font families installed on this system, as fontconfig (which Qt itself
// uses on Linux) knows them: each family's first name once, sorted without
// regard to letter case as Qt's font database lists them.
class FontFamilies {
 public:
  static std::vector<std::u16string> Installed();
};

}  // namespace cli
