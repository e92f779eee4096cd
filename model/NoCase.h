#pragma once

#include <string_view>

// Comparisons of names and paths without regard to letter case. Letters A-Z fold
// to a-z; other bytes (UTF-8 sequences included) compare as they are, which keeps
// the order stable and the same on every device.
namespace model {

int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
// `path` is `folder` or lies inside it: the prefix matches and is followed by "\"
// or by nothing.
bool IsPathUnder(std::string_view path, std::string_view folder);

}  // namespace model
