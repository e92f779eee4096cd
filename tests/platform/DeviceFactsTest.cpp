#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/DeviceFacts.h"

using namespace platform;

TEST(DeviceFacts, ParsesScreenAndKeepsTheOldValuesOnBadInput) {
  DeviceFacts facts;
  ASSERT_TRUE(facts.ParseScreen("480x640@192"));
  EXPECT_EQ((std::array{facts.screenWidth, facts.screenHeight, facts.dpi}), (std::array<uint32_t, 3>{480, 640, 192}));
  ASSERT_TRUE(facts.ParseScreen("176x220"));
  EXPECT_EQ((std::array{facts.screenWidth, facts.screenHeight, facts.dpi}), (std::array<uint32_t, 3>{176, 220, 192}));
  for (const char* bad : {"", "x", "240", "240x", "x320", "0x320", "240x320@", "240x320@0", "240x320@96x", "-1x5",
                          "240 x 320", "99999999999x1"}) {
    EXPECT_FALSE(facts.ParseScreen(bad)) << bad;
    EXPECT_EQ((std::array{facts.screenWidth, facts.screenHeight, facts.dpi}),
              (std::array<uint32_t, 3>{176, 220, 192}))
        << bad;
  }
}

TEST(DeviceFacts, EnvironmentOverridesOnlyWellFormedValues) {
  DeviceFacts facts;
  ::setenv("TESSARY_OS_VERSION", "4", 1);
  ::setenv("TESSARY_SCREEN", "320x240@131", 1);
  facts.ApplyEnvironment();
  EXPECT_EQ(facts.osMajorVersion, 4u);
  EXPECT_EQ(facts.dpi, 131u);
  ::setenv("TESSARY_OS_VERSION", "five", 1);
  ::setenv("TESSARY_SCREEN", "big", 1);
  facts.ApplyEnvironment();
  ::unsetenv("TESSARY_OS_VERSION");
  ::unsetenv("TESSARY_SCREEN");
  EXPECT_EQ(facts.osMajorVersion, 4u);
  EXPECT_EQ(facts.screenWidth, 320u);
}
