#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace server {

// The protocol's date texts: "YYYY-MM-DDTHH:MM:SS" followed by "Z" (UTC) or a
// "+hhmm"/"-hhmm" offset from UTC.
class Timestamp {
 public:
  // Unix seconds as "...Z".
  static std::string FormatUtc(int64_t unixSeconds);
  // Unix seconds of a date text. A text without a suffix counts as UTC; false for
  // anything else that does not have exactly this form or names no real date.
  static bool Parse(std::string_view text, int64_t& unixSeconds);
};

}  // namespace server
