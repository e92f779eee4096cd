#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>
#include <string>

#include "net/Timestamp.h"
#include "platform/TimeValue.h"

namespace {

using net::Timestamp;

// Sets TZ for the test's life and puts the previous value back.
class ZoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) {
      saved_ = tz;
    }
  }
  void TearDown() override {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  static void Zone(const char* tz) {
    setenv("TZ", tz, 1);
    tzset();
  }
  static uint32_t Value(int y, int mo, int d, int h, int mi, int s) {
    const platform::SystemTime st{static_cast<uint16_t>(y), static_cast<uint16_t>(mo), 0, static_cast<uint16_t>(d),
                                  static_cast<uint16_t>(h), static_cast<uint16_t>(mi), static_cast<uint16_t>(s), 0};
    uint32_t v = 0;
    EXPECT_TRUE(platform::SystemTimeToTimeValue(st, v));
    return v;
  }

 private:
  std::optional<std::string> saved_;
};

TEST_F(ZoneTest, FormatsLocalWithOffsetAndUtcWithZ) {
  Zone("CET-1");
  const uint32_t v = Value(2024, 3, 5, 14, 7, 9);
  EXPECT_EQ(Timestamp::FormatTimestamp(v, false), "2024-03-05T14:07:09+0100");
  EXPECT_EQ(Timestamp::FormatTimestamp(v, true), "2024-03-05T13:07:09Z");

  Zone("EST5");
  EXPECT_EQ(Timestamp::FormatTimestamp(v, false), "2024-03-05T14:07:09-0500");
  EXPECT_EQ(Timestamp::FormatTimestamp(v, true), "2024-03-05T19:07:09Z");

  Zone("IST-5:30");
  EXPECT_EQ(Timestamp::FormatTimestamp(Value(1999, 12, 31, 23, 59, 59), false), "1999-12-31T23:59:59+0530");
}

TEST_F(ZoneTest, SummerTimeChangesTheSuffix) {
  Zone("CET-1CEST,M3.5.0,M10.5.0/3");
  EXPECT_EQ(Timestamp::FormatTimestamp(Value(2024, 1, 15, 12, 0, 0), false), "2024-01-15T12:00:00+0100");
  EXPECT_EQ(Timestamp::FormatTimestamp(Value(2024, 7, 15, 12, 0, 0), false), "2024-07-15T12:00:00+0200");
  EXPECT_EQ(Timestamp::FormatTimestamp(Value(2024, 7, 15, 12, 0, 0), true), "2024-07-15T10:00:00Z");
}

TEST_F(ZoneTest, ParsesZAsUtcAndIgnoresOffsets) {
  Zone("CET-1");
  EXPECT_EQ(Timestamp::ParseTimestamp("2024-03-05T13:07:09Z"), Value(2024, 3, 5, 14, 7, 9));
  EXPECT_EQ(Timestamp::ParseTimestamp("2024-03-05T14:07:09-0800"), Value(2024, 3, 5, 14, 7, 9));
  EXPECT_EQ(Timestamp::ParseTimestamp("2024-03-05T14:07:09"), Value(2024, 3, 5, 14, 7, 9));
  // Separators are not examined; fractions after the seconds are not a "Z".
  EXPECT_EQ(Timestamp::ParseTimestamp("2024/03/05 14.07.09"), Value(2024, 3, 5, 14, 7, 9));
  EXPECT_EQ(Timestamp::ParseTimestamp("2024-03-05T14:07:09.5Z"), Value(2024, 3, 5, 14, 7, 9));
}

TEST_F(ZoneTest, RejectsShortAndInvalidTexts) {
  Zone("UTC0");
  EXPECT_EQ(Timestamp::ParseTimestamp(""), 0u);
  EXPECT_EQ(Timestamp::ParseTimestamp("2024-03-05T14:07:0"), 0u);
  EXPECT_EQ(Timestamp::ParseTimestamp("2024-13-05T14:07:09Z"), 0u);
  EXPECT_EQ(Timestamp::ParseTimestamp("2023-02-29T00:00:00Z"), 0u);
  EXPECT_EQ(Timestamp::ParseTimestamp("20x4-03-05T14:07:09Z"), 0u);
  EXPECT_EQ(Timestamp::ParseTimestamp("1903-12-31T23:59:59"), 0u);
}

TEST_F(ZoneTest, RoundTripsBothForms) {
  Zone("EST5EDT,M3.2.0,M11.1.0");
  std::mt19937 rng(99);
  for (int i = 0; i < 300; ++i) {
    const uint32_t v = Value(1990, 1, 1, 0, 0, 0) + rng() % (40u * 365 * 86400);
    const std::string local = Timestamp::FormatTimestamp(v, false);
    ASSERT_EQ(local.size(), 24u) << local;
    EXPECT_EQ(Timestamp::ParseTimestamp(local), v) << local;
    const std::string utc = Timestamp::FormatTimestamp(v, true);
    ASSERT_EQ(utc.back(), 'Z');
    // A wall time skipped when clocks go forward comes back an hour later.
    const uint32_t back = Timestamp::ParseTimestamp(utc);
    EXPECT_TRUE(back == v || back == v + 3600) << utc;
  }
}

}  // namespace
