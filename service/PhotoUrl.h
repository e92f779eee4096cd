#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace model {
class BlogEntry;
}

namespace service {

// Which of an entry's three addresses fetches its photo at a size, and the
// service's resizer address for a size.
class PhotoUrl {
 public:
  // The address for size code `sizeCode`; the code becomes 7 when the full-size
  // photo itself is what the entry has to offer.
  static std::string Choose(const model::BlogEntry& entry, uint8_t& sizeCode);
  // The base's scheme and host, then "si.aspx?img=<rest of the base>&ld=..&q=..".
  static std::string Resized(std::string_view base, uint8_t sizeCode);
  // "http://host[:port]/path": host (with its port) and path from the first "/"
  // after the scheme. False for an address shorter than 10 characters.
  static bool Split(std::string_view url, std::string& host, std::string& path);
};

}  // namespace service
