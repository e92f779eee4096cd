#pragma once

#include <cstdint>
#include <ctime>

// Time values: unsigned 32-bit seconds since 1904-01-01 00:00:00 local time.
// Conversions go through the C library with the process time zone (TZ).
namespace platform {

struct SystemTime {
  uint16_t year = 1904;
  uint16_t month = 1;      // 1..12
  uint16_t dayOfWeek = 0;  // 0 = Sunday
  uint16_t day = 1;        // 1..31
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

// Seconds between 1904-01-01 and 1970-01-01.
inline constexpr int64_t kSeconds1904To1970 = 2082844800;

uint32_t Now();     // current local time value
uint32_t NowUtc();  // current UTC time value

// Calendar record <-> time value (no zone change); false for dates outside the range.
bool TimeValueToSystemTime(uint32_t value, SystemTime& out);
bool SystemTimeToTimeValue(const SystemTime& st, uint32_t& out);

// Local <-> UTC for a given instant, using the zone rules in force at that instant.
uint32_t LocalToUtc(uint32_t localValue);
uint32_t UtcToLocal(uint32_t utcValue);
// Offset local - UTC in seconds at the given local time value.
int32_t TimeZoneOffset(uint32_t localValue);

// Host instants (Unix seconds, UTC) <-> local time values.
uint32_t LocalTimeValueFromUnix(std::time_t t);
std::time_t UnixFromLocalTimeValue(uint32_t value);

}  // namespace platform
