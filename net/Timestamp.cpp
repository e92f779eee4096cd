#include "net/Timestamp.h"

#include <cstdio>
#include <cstdlib>

#include "platform/TimeValue.h"

namespace net {

std::string Timestamp::FormatTimestamp(uint32_t timeValue, bool utc) {
  platform::SystemTime st;
  char suffix[8] = "Z";
  if (utc) {
    platform::TimeValueToSystemTime(platform::LocalToUtc(timeValue), st);
  } else {
    platform::TimeValueToSystemTime(timeValue, st);
    const int32_t offset = platform::TimeZoneOffset(timeValue);
    const int32_t magnitude = std::abs(offset);
    std::snprintf(suffix, sizeof suffix, "%c%02d%02d", offset >= 0 ? '+' : '-', (magnitude / 3600) % 100,
                  magnitude % 3600 / 60);
  }
  char text[48];
  std::snprintf(text, sizeof text, "%d-%02d-%02dT%02d:%02d:%02d%s", st.year, st.month, st.day, st.hour, st.minute,
                st.second, suffix);
  return text;
}

namespace {

// The decimal value of text[from, from + count), or -1 when a byte there is no digit.
int Field(std::string_view text, size_t from, size_t count) {
  int value = 0;
  for (size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return -1;
    }
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

uint32_t Timestamp::ParseTimestamp(std::string_view text) {
  if (text.size() < 19) {
    return 0;
  }
  const int fields[6] = {Field(text, 0, 4), Field(text, 5, 2), Field(text, 8, 2),
                         Field(text, 11, 2), Field(text, 14, 2), Field(text, 17, 2)};
  for (int f : fields) {
    if (f < 0) {
      return 0;
    }
  }
  platform::SystemTime st;
  st.year = static_cast<uint16_t>(fields[0]);
  st.month = static_cast<uint16_t>(fields[1]);
  st.day = static_cast<uint16_t>(fields[2]);
  st.hour = static_cast<uint16_t>(fields[3]);
  st.minute = static_cast<uint16_t>(fields[4]);
  st.second = static_cast<uint16_t>(fields[5]);
  uint32_t value = 0;
  if (!platform::SystemTimeToTimeValue(st, value)) {
    return 0;
  }
  if (text.size() > 19 && text[19] == 'Z') {
    value = platform::UtcToLocal(value);
  }
  return value;
}

}  // namespace net
