#pragma once

#include <string>
#include <string_view>

namespace server {

// Dates of the protocol ("2026-11-24T10:22:13+0100") as a reader of a page wants
// them: "24 November 2026, 10:22".
class DateWords {
 public:
  // The time of day the text itself gives, in its own offset. Empty when the
  // text is no date.
  static std::string Format(std::string_view dateText);
  // The moment of dateText told in the offset of zoneText (UTC when zoneText is
  // no date), so that every time on a page reads in one zone.
  static std::string FormatIn(std::string_view dateText, std::string_view zoneText);
};

}  // namespace server
