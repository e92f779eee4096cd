#include <gtest/gtest.h>

#include "platform/CRegistry.h"
#include "platform/Preferences.h"
#include "tests/support/TempDeviceRoot.h"

using namespace platform;

TEST(Preferences, EmptyRegistryGivesEveryDefault) {
  testsupport::TempDeviceRoot root;
  for (bool created : {false, true}) {
    if (created) {
      ASSERT_TRUE(CreatePreferenceKeys());
    }
    LogFont font;
    EXPECT_FALSE(ReadMainViewFont(font));
    EXPECT_FALSE(ReadShowEditDialog());
    EXPECT_FALSE(ReadOpenCameraOnLaunch());
    EXPECT_FALSE(ReadStayInCamera());
    EXPECT_EQ(ReadCurrentlyViewedBlog(), "");
    EXPECT_EQ(ReadDownloadPhotoSize(), 5u);
    EXPECT_EQ(ReadLastRemoteBlog(), "");
    EXPECT_EQ(ReadLastMessageCheck(), 0u);
    EXPECT_EQ(ReadLastIgnoredVersion(), "1.0");
    EXPECT_EQ(ReadLastMessageNumber(), 0u);
  }
}

TEST(Preferences, WritesAreReadBackUnderTheirNames) {
  testsupport::TempDeviceRoot root;
  ASSERT_TRUE(CreatePreferenceKeys());
  ASSERT_TRUE(WriteShowEditDialog(true));
  ASSERT_TRUE(WriteStayInCamera(true));
  ASSERT_TRUE(WriteCurrentlyViewedBlog("my-blog-\xC3\xA9"));
  ASSERT_TRUE(WriteDownloadPhotoSize(7));
  ASSERT_TRUE(WriteLastMessageCheck(3'900'000'000u));
  ASSERT_TRUE(WriteLastIgnoredVersion("2.1"));
  ASSERT_TRUE(WriteLastMessageNumber(42));
  RegistryReset();
  EXPECT_TRUE(ReadShowEditDialog());
  EXPECT_FALSE(ReadOpenCameraOnLaunch());
  EXPECT_TRUE(ReadStayInCamera());
  EXPECT_EQ(ReadCurrentlyViewedBlog(), "my-blog-\xC3\xA9");
  EXPECT_EQ(ReadDownloadPhotoSize(), 7u);
  EXPECT_EQ(ReadLastMessageCheck(), 3'900'000'000u);
  EXPECT_EQ(ReadLastIgnoredVersion(), "2.1");
  EXPECT_EQ(ReadLastMessageNumber(), 42u);
  // The names and types other components rely on.
  EXPECT_EQ(CRegistry::GetNumber(Hive::CurrentUser, "Software\\Morvane\\Tessary\\Preferences", "Show Edit Dialog", 9),
            1u);
  CRegistry reg(Hive::CurrentUser, "Software\\Morvane\\Tessary\\Preferences");
  ASSERT_TRUE(reg.Open());
  EXPECT_EQ(reg.QueryValueLength("Last ignored version"), 8u);
  // Any non-zero number is on.
  ASSERT_TRUE(CRegistry::SetNumber(Hive::CurrentUser, kPreferencesKey, kPrefOpenCameraOnLaunch, 7));
  EXPECT_TRUE(ReadOpenCameraOnLaunch());
  ASSERT_TRUE(ResetPreference(kPrefShowEditDialog));
  EXPECT_FALSE(ReadShowEditDialog());
  EXPECT_TRUE(ResetPreference("never stored"));
}

TEST(Preferences, DownloadPhotoSizeOutsideTwoToSevenReadsAsFive) {
  testsupport::TempDeviceRoot root;
  ASSERT_TRUE(CreatePreferenceKeys());
  for (uint32_t stored : {0u, 1u, 8u, 9u, 255u, 0xFFFFFFFFu}) {
    ASSERT_TRUE(WriteDownloadPhotoSize(stored));
    EXPECT_EQ(ReadDownloadPhotoSize(), 5u) << stored;
  }
  for (uint32_t stored = 2; stored <= 7; ++stored) {
    ASSERT_TRUE(WriteDownloadPhotoSize(stored));
    EXPECT_EQ(ReadDownloadPhotoSize(), stored);
  }
}

TEST(Preferences, MainViewFontIsA92ByteRecord) {
  testsupport::TempDeviceRoot root;
  ASSERT_TRUE(CreatePreferenceKeys());
  LogFont font;
  font.height = -12;
  font.weight = 700;
  font.italic = 1;
  font.pitchAndFamily = 0x22;
  font.faceName = u"DejaVu Sans";
  ASSERT_TRUE(WriteMainViewFont(font));
  LogFont back;
  ASSERT_TRUE(ReadMainViewFont(back));
  EXPECT_EQ(back, font);

  uint8_t raw[100];
  uint32_t length = sizeof raw;
  ASSERT_TRUE(CRegistry::GetBinary(Hive::CurrentUser, kPreferencesKey, kPrefMainViewFont, raw, length));
  ASSERT_EQ(length, 92u);
  EXPECT_EQ(std::vector<uint8_t>(raw, raw + 4), (std::vector<uint8_t>{0xF4, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(raw[16], 0xBC);  // weight 700, low byte
  EXPECT_EQ(raw[20], 1);     // italic
  EXPECT_EQ(raw[27], 0x22);  // pitch and family
  EXPECT_EQ(raw[28], 'D');
  EXPECT_EQ(raw[29], 0);

  // A record of the wrong size is no font.
  ASSERT_TRUE(CRegistry::SetBinary(Hive::CurrentUser, kPreferencesKey, kPrefMainViewFont, raw, 60));
  EXPECT_FALSE(ReadMainViewFont(back));
}

TEST(LogFont, FaceNameIsBoundedBothWays) {
  LogFont font;
  font.faceName = std::u16string(40, u'x');
  const auto bytes = font.Serialise();
  EXPECT_EQ(bytes[28 + 62], 0);  // the last unit stays the terminator
  LogFont back;
  ASSERT_TRUE(LogFont::Deserialise(bytes.data(), bytes.size(), back));
  EXPECT_EQ(back.faceName, std::u16string(31, u'x'));

  // A record written without any terminator still reads within its field.
  auto full = bytes;
  full[28 + 62] = 'y';
  ASSERT_TRUE(LogFont::Deserialise(full.data(), full.size(), back));
  EXPECT_EQ(back.faceName, std::u16string(31, u'x') + u"y");
  EXPECT_FALSE(LogFont::Deserialise(bytes.data(), 91, back));
}
