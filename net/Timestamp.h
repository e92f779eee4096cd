#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace net {

// The protocol's timestamp texts for time values (seconds since 1904, local time).
class Timestamp {
 public:
  // "YYYY-MM-DDThh:mm:ss" then "Z" (the value converted to UTC) when `utc` is set, else
  // the local clock time with the local offset as "+hhmm" or "-hhmm".
  static std::string FormatTimestamp(uint32_t timeValue, bool utc);
  // Fields at fixed positions (separators are not examined). A "Z" at position 19 means
  // UTC, converted to local time; otherwise the clock time is taken as local and any
  // offset is ignored. A text too short or not a valid date gives 0.
  static uint32_t ParseTimestamp(std::string_view text);
};

}  // namespace net
