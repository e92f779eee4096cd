#include "platform/TimeValue.h"

#include <limits>

namespace platform {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kMaxValue = std::numeric_limits<uint32_t>::max();

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(int64_t y, unsigned m) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

uint32_t Clamp(int64_t v) {
  if (v < 0) return 0;
  if (v > kMaxValue) return static_cast<uint32_t>(kMaxValue);
  return static_cast<uint32_t>(v);
}

// Wall-clock seconds of an instant in the process time zone, counted from
// 1970-01-01 00:00 as if that wall clock were UTC. False when the C library
// cannot convert the instant.
bool LocalWallSeconds(std::time_t t, int64_t& out) {
  std::tm tm{};
  if (::localtime_r(&t, &tm) == nullptr) return false;
  out = DaysFromCivil(int64_t{tm.tm_year} + 1900, static_cast<unsigned>(tm.tm_mon + 1),
                      static_cast<unsigned>(tm.tm_mday)) *
            kSecondsPerDay +
        tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
  return true;
}

// Offset (local - UTC) in force at instant t.
int64_t OffsetAt(std::time_t t) {
  int64_t wall = 0;
  return LocalWallSeconds(t, wall) ? wall - static_cast<int64_t>(t) : 0;
}

// The instant shown by the local wall clock `wall` (seconds as for
// LocalWallSeconds). A wall time that occurs twice (clocks set back) answers the
// earlier instant; one skipped by clocks set forward is read with the offset in
// force before the change, so it lands just after the gap.
std::time_t InstantOfWall(int64_t wall) {
  ::tzset();
  const int64_t before = OffsetAt(static_cast<std::time_t>(wall - kSecondsPerDay));
  const int64_t after = OffsetAt(static_cast<std::time_t>(wall + kSecondsPerDay));
  const int64_t candidates[] = {wall - before, wall - after};
  bool found = false;
  int64_t best = 0;
  for (int64_t c : candidates) {
    int64_t seen = 0;
    if (LocalWallSeconds(static_cast<std::time_t>(c), seen) && seen == wall && (!found || c < best)) {
      best = c;
      found = true;
    }
  }
  return static_cast<std::time_t>(found ? best : wall - before);
}

}  // namespace

bool TimeValueToSystemTime(uint32_t value, SystemTime& out) {
  const int64_t days = value / kSecondsPerDay;
  const int64_t secs = value % kSecondsPerDay;
  int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days - kSeconds1904To1970 / kSecondsPerDay, y, m, d);
  out.year = static_cast<uint16_t>(y);
  out.month = static_cast<uint16_t>(m);
  out.day = static_cast<uint16_t>(d);
  out.dayOfWeek = static_cast<uint16_t>((days + 5) % 7);  // 1904-01-01 was a Friday
  out.hour = static_cast<uint16_t>(secs / 3600);
  out.minute = static_cast<uint16_t>(secs / 60 % 60);
  out.second = static_cast<uint16_t>(secs % 60);
  out.milliseconds = 0;
  return true;
}

bool SystemTimeToTimeValue(const SystemTime& st, uint32_t& out) {
  if (st.year < 1904 || st.month < 1 || st.month > 12 || st.day < 1 ||
      st.day > DaysInMonth(st.year, st.month) || st.hour > 23 || st.minute > 59 || st.second > 59) {
    return false;
  }
  const int64_t v = (DaysFromCivil(st.year, st.month, st.day) * kSecondsPerDay + kSeconds1904To1970) +
                    st.hour * 3600 + st.minute * 60 + st.second;
  if (v < 0 || v > kMaxValue) return false;
  out = static_cast<uint32_t>(v);
  return true;
}

uint32_t LocalTimeValueFromUnix(std::time_t t) {
  ::tzset();
  int64_t wall = 0;
  if (!LocalWallSeconds(t, wall)) return t < 0 ? 0 : static_cast<uint32_t>(kMaxValue);
  return Clamp(wall + kSeconds1904To1970);
}

std::time_t UnixFromLocalTimeValue(uint32_t value) {
  return InstantOfWall(static_cast<int64_t>(value) - kSeconds1904To1970);
}

uint32_t Now() { return LocalTimeValueFromUnix(std::time(nullptr)); }

uint32_t NowUtc() { return Clamp(static_cast<int64_t>(std::time(nullptr)) + kSeconds1904To1970); }

uint32_t LocalToUtc(uint32_t localValue) {
  return Clamp(static_cast<int64_t>(UnixFromLocalTimeValue(localValue)) + kSeconds1904To1970);
}

uint32_t UtcToLocal(uint32_t utcValue) {
  return LocalTimeValueFromUnix(static_cast<std::time_t>(int64_t{utcValue} - kSeconds1904To1970));
}

int32_t TimeZoneOffset(uint32_t localValue) {
  const int64_t wall = static_cast<int64_t>(localValue) - kSeconds1904To1970;
  return static_cast<int32_t>(wall - static_cast<int64_t>(InstantOfWall(wall)));
}

}  // namespace platform
