#include "server/DateWords.h"

#include <cstdint>
#include <cstdio>

#include "server/Timestamp.h"

namespace server {

namespace {

constexpr size_t kWallClockLength = 19;  // "YYYY-MM-DDTHH:MM:SS"

// Seconds the text's clock is ahead of UTC; 0 when the text is no date.
int64_t OffsetOf(std::string_view text) {
  int64_t moment = 0;
  int64_t wallClock = 0;
  if (!Timestamp::Parse(text, moment) || !Timestamp::Parse(text.substr(0, kWallClockLength), wallClock)) return 0;
  return wallClock - moment;
}

}  // namespace

std::string DateWords::Format(std::string_view dateText) { return FormatIn(dateText, dateText); }

std::string DateWords::FormatIn(std::string_view dateText, std::string_view zoneText) {
  static constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                            "July",    "August",   "September", "October", "November", "December"};
  int64_t moment = 0;
  if (!Timestamp::Parse(dateText, moment)) return "";
  // "YYYY-MM-DDTHH:MM:SSZ" of the wall clock in the wanted zone.
  std::string clock = Timestamp::FormatUtc(moment + OffsetOf(zoneText));
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  if (std::sscanf(clock.c_str(), "%d-%d-%dT%d:%d", &year, &month, &day, &hour, &minute) != 5 || month < 1 ||
      month > 12) {
    return "";
  }
  char words[64];
  std::snprintf(words, sizeof words, "%d %s %d, %02d:%02d", day, kMonths[month - 1], year, hour, minute);
  return words;
}

}  // namespace server
