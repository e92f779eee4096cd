#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/TimeValue.h"

namespace testsupport {

// The device's time value of a local date and time.
inline uint32_t TimeValueAt(uint16_t year, uint16_t month, uint16_t day, uint16_t hour, uint16_t minute,
                            uint16_t second) {
  platform::SystemTime st;
  st.year = year;
  st.month = month;
  st.day = day;
  st.hour = hour;
  st.minute = minute;
  st.second = second;
  uint32_t value = 0;
  EXPECT_TRUE(platform::SystemTimeToTimeValue(st, value));
  return value;
}

}  // namespace testsupport
