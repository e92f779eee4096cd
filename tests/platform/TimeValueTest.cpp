#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/TimeValue.h"

using namespace platform;

namespace {

// Sets TZ for one test and puts the previous zone back afterwards.
class ZoneGuard {
 public:
  explicit ZoneGuard(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~ZoneGuard() {
    if (previous_) {
      ::setenv("TZ", previous_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  std::optional<std::string> previous_;
};

uint32_t Value(uint16_t y, uint16_t mo, uint16_t d, uint16_t h = 0, uint16_t mi = 0, uint16_t s = 0) {
  SystemTime st;
  st.year = y;
  st.month = mo;
  st.day = d;
  st.hour = h;
  st.minute = mi;
  st.second = s;
  uint32_t v = 0;
  EXPECT_TRUE(SystemTimeToTimeValue(st, v));
  return v;
}

constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr const char* kUsEast = "EST5EDT,M3.2.0,M11.1.0";

}  // namespace

TEST(TimeValue, CalendarCoversTheWholeRange) {
  SystemTime st;
  ASSERT_TRUE(TimeValueToSystemTime(0, st));
  EXPECT_EQ((std::array{st.year, st.month, st.day, st.dayOfWeek}), (std::array<uint16_t, 4>{1904, 1, 1, 5}));
  ASSERT_TRUE(TimeValueToSystemTime(UINT32_MAX, st));
  EXPECT_EQ((std::array{st.year, st.month, st.day, st.hour, st.minute, st.second}),
            (std::array<uint16_t, 6>{2040, 2, 6, 6, 28, 15}));
  EXPECT_EQ(Value(1970, 1, 1), static_cast<uint32_t>(kSeconds1904To1970));
  EXPECT_EQ(Value(2040, 2, 6, 6, 28, 15), UINT32_MAX);

  const uint32_t leapDay = Value(2000, 2, 29, 23, 59, 59);
  ASSERT_TRUE(TimeValueToSystemTime(leapDay, st));
  EXPECT_EQ((std::array{st.month, st.day, st.dayOfWeek}), (std::array<uint16_t, 3>{2, 29, 2}));
  EXPECT_EQ(leapDay + 1, Value(2000, 3, 1));
}

TEST(TimeValue, RefusesImpossibleCalendarRecords) {
  uint32_t v = 0;
  auto make = [](uint16_t y, uint16_t mo, uint16_t d, uint16_t h) {
    SystemTime st;
    st.year = y;
    st.month = mo;
    st.day = d;
    st.hour = h;
    return st;
  };
  EXPECT_FALSE(SystemTimeToTimeValue(make(1903, 12, 31, 0), v));
  EXPECT_FALSE(SystemTimeToTimeValue(make(2040, 2, 7, 0), v));
  EXPECT_FALSE(SystemTimeToTimeValue(make(2001, 2, 29, 0), v));
  EXPECT_FALSE(SystemTimeToTimeValue(make(1900 + 104, 13, 1, 0), v));
  EXPECT_FALSE(SystemTimeToTimeValue(make(2004, 4, 31, 0), v));
  EXPECT_FALSE(SystemTimeToTimeValue(make(2004, 4, 1, 24), v));
}

TEST(TimeValue, ConvertsTheSameInstantInSeveralZones) {
  const std::time_t instant = 1700000000;  // 2023-11-14 22:13:20 UTC
  const uint32_t utc = static_cast<uint32_t>(instant + kSeconds1904To1970);
  struct Case {
    const char* zone;
    int32_t offset;
  };
  for (const Case& c : {Case{"UTC0", 0}, Case{kUsEast, -5 * 3600}, Case{"<+0530>-5:30", 19800},
                        Case{"NZST-12NZDT,M9.5.0,M4.1.0/3", 13 * 3600}, Case{kCentralEurope, 3600}}) {
    ZoneGuard zone(c.zone);
    const uint32_t local = LocalTimeValueFromUnix(instant);
    EXPECT_EQ(static_cast<int64_t>(local) - utc, c.offset) << c.zone;
    EXPECT_EQ(UtcToLocal(utc), local) << c.zone;
    EXPECT_EQ(LocalToUtc(local), utc) << c.zone;
    EXPECT_EQ(UnixFromLocalTimeValue(local), instant) << c.zone;
    EXPECT_EQ(TimeZoneOffset(local), c.offset) << c.zone;
  }
}

TEST(TimeValue, FollowsDaylightSavingRules) {
  ZoneGuard zone(kCentralEurope);
  EXPECT_EQ(TimeZoneOffset(Value(2021, 1, 15, 12)), 3600);
  EXPECT_EQ(TimeZoneOffset(Value(2021, 7, 15, 12)), 7200);

  // 02:30 on the spring day is skipped: it reads as 03:30 summer time.
  const std::time_t gap = UnixFromLocalTimeValue(Value(2021, 3, 28, 2, 30));
  EXPECT_EQ(gap, 1616895000);
  EXPECT_EQ(LocalTimeValueFromUnix(gap), Value(2021, 3, 28, 3, 30));
  // 02:30 on the autumn day happens twice: the first (summer time) is taken.
  EXPECT_EQ(UnixFromLocalTimeValue(Value(2021, 10, 31, 2, 30)), 1635640200);
  EXPECT_EQ(LocalTimeValueFromUnix(1635640200 + 3600), Value(2021, 10, 31, 2, 30));
  // Either side of the change, an hour of instants is an hour of wall clock or two.
  EXPECT_EQ(LocalToUtc(Value(2021, 10, 31, 3, 30)) - LocalToUtc(Value(2021, 10, 31, 1, 30)), 3u * 3600);
}

TEST(TimeValue, HandlesDatesBefore1970AndClampsAtTheEnds) {
  {
    ZoneGuard zone("<+0530>-5:30");
    EXPECT_EQ(UnixFromLocalTimeValue(Value(1950, 7, 1, 21, 30)), -615456000);
    EXPECT_EQ(LocalTimeValueFromUnix(-615456000), Value(1950, 7, 1, 21, 30));
    // Before 1904 in UTC but not in local time, and the other way round.
    EXPECT_EQ(LocalToUtc(Value(1904, 1, 1, 3)), 0u);
    EXPECT_EQ(UtcToLocal(Value(1904, 1, 1, 3)), Value(1904, 1, 1, 8, 30));
  }
  ZoneGuard zone(kUsEast);
  EXPECT_EQ(UtcToLocal(Value(1904, 1, 1, 3)), 0u);
  EXPECT_EQ(LocalTimeValueFromUnix(-kSeconds1904To1970 - 86400 * 400LL), 0u);
  EXPECT_EQ(LocalTimeValueFromUnix(4'000'000'000LL), UINT32_MAX);
}

TEST(TimeValue, UsesTheZoneHistoryBefore1970) {
  if (!std::filesystem::exists("/usr/share/zoneinfo/America/New_York")) GTEST_SKIP() << "no time zone data";
  ZoneGuard zone("America/New_York");
  // Summer time was kept in 1950; so the same wall clock in January is an hour later in UTC.
  EXPECT_EQ(UnixFromLocalTimeValue(Value(1950, 7, 1, 12)), -615456000);
  EXPECT_EQ(LocalTimeValueFromUnix(-615456000), Value(1950, 7, 1, 12));
  EXPECT_EQ(TimeZoneOffset(Value(1950, 1, 1, 12)), -5 * 3600);
  EXPECT_EQ(TimeZoneOffset(Value(1950, 7, 1, 12)), -4 * 3600);
}

TEST(TimeValue, NowMatchesTheClock) {
  ZoneGuard zone("<+0530>-5:30");
  const uint32_t utc = NowUtc();
  const int64_t local = Now();
  EXPECT_NEAR(static_cast<double>(local - utc), 19800.0, 2.0);
  EXPECT_NEAR(static_cast<double>(utc - kSeconds1904To1970), static_cast<double>(std::time(nullptr)), 2.0);
}
