#include <gtest/gtest.h>

#include "platform/FontChoice.h"

namespace {

using platform::FontChoice;

TEST(FontChoice, PointsAndHeightsAtTheDisplaysDpi) {
  EXPECT_EQ(FontChoice::HeightFromPoints(10, 96), -13);   // 960 / 72 = 13 r 24
  EXPECT_EQ(FontChoice::HeightFromPoints(9, 96), -12);    // exact
  EXPECT_EQ(FontChoice::HeightFromPoints(10, 192), -27);  // 1920 / 72 = 26 r 48: up
  EXPECT_EQ(FontChoice::HeightFromPoints(11, 192), -29);  // 2112 / 72 = 29 r 24
  EXPECT_EQ(FontChoice::PointsFromHeight(-13, 96), 10);   // 936 / 96 = 9 r 72: up
  EXPECT_EQ(FontChoice::PointsFromHeight(-12, 96), 9);
  EXPECT_EQ(FontChoice::PointsFromHeight(-27, 192), 10);  // 1944 / 192 = 10 r 24
  EXPECT_EQ(FontChoice::PointsFromHeight(-20, 192), 8);   // 1440 / 192 = 7 r 96: half rounds up
  for (int dpi : {96, 192}) {
    for (int points : FontChoice::kSizes) {
      EXPECT_EQ(FontChoice::PointsFromHeight(FontChoice::HeightFromPoints(points, dpi), dpi), points) << dpi;
    }
  }
}

TEST(FontChoice, ASizeOrFaceNotListedOpensOnTheDefaults) {
  platform::LogFont font;
  font.height = FontChoice::HeightFromPoints(14, 96);
  EXPECT_EQ(FontChoice::kSizes[FontChoice::SizeIndex(font, 96)], 10);
  font.height = -16;  // 12 points
  EXPECT_EQ(FontChoice::kSizes[FontChoice::SizeIndex(font, 96)], 12);
  const std::vector<std::u16string> families = {u"Alpha", u"DejaVu Sans", u"Zeta"};
  EXPECT_EQ(FontChoice::FaceIndex(families, u"dejavu SANS"), 1u);
  EXPECT_EQ(FontChoice::FaceIndex(families, u"Missing"), 0u);
  EXPECT_EQ(FontChoice::FindFace(families, u"Missing"), -1);
}

TEST(FontChoice, AChoiceWritesItsFieldsAndKeepsTheRest) {
  platform::LogFont font;
  font.width = 5;
  font.charSet = 1;
  font.pitchAndFamily = 34;
  font.strikeOut = 1;
  FontChoice::Choice choice;
  choice.faceName = u"DejaVu Sans";
  choice.points = 8;
  choice.bold = true;
  choice.underline = true;
  choice.clearType = true;
  const platform::LogFont written = FontChoice::Apply(font, choice, 192);
  EXPECT_EQ(written.faceName, u"DejaVu Sans");
  EXPECT_EQ(written.height, -21);  // 1536 / 72 = 21 r 24
  EXPECT_EQ(written.weight, 700);
  EXPECT_EQ(written.italic, 0);
  EXPECT_EQ(written.underline, 1);
  EXPECT_EQ(written.quality, 5);
  EXPECT_EQ(written.width, 5);
  EXPECT_EQ(written.charSet, 1);
  EXPECT_EQ(written.pitchAndFamily, 34);
  EXPECT_EQ(written.strikeOut, 1);
  const FontChoice::Choice read = FontChoice::Of(written, 192);
  EXPECT_EQ(read.points, 8);
  EXPECT_TRUE(read.bold && read.underline && read.clearType && !read.italic);
}

}  // namespace
