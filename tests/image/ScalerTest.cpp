#include <gtest/gtest.h>

#include "image/Scaler.h"

namespace {

uint16_t Rgb565(int r, int g, int b) { return static_cast<uint16_t>(r << 11 | g << 5 | b); }

TEST(Scaler, ShrinkingAveragesEachChannelAndKeepsEdgesNearest) {
  image::Bitmap src;
  ASSERT_EQ(src.Allocate(9, 9), 0);
  for (uint32_t y = 0; y < 9; ++y) {
    for (uint32_t x = 0; x < 9; ++x) src.Row(y)[x] = Rgb565(static_cast<int>(x * 3), static_cast<int>(y * 7), 31 - static_cast<int>(x));
  }
  image::Bitmap dst;
  ASSERT_EQ(image::Scaler::Scale(src, 3, 3, {0, 0, 3, 3}, dst), 0);
  // Centre: mean of x 3-5 and y 3-5 per channel, not a blend of packed values.
  EXPECT_EQ(dst.Pixel(1, 1), Rgb565(12, 28, 27));
  // Edges: the source pixel nearest to the target pixel's centre.
  EXPECT_EQ(dst.Pixel(0, 0), src.Pixel(1, 1));
  EXPECT_EQ(dst.Pixel(2, 1), src.Pixel(7, 4));
  EXPECT_EQ(dst.Pixel(1, 2), src.Pixel(4, 7));
}

TEST(Scaler, EnlargingInEitherDirectionIsNearest) {
  image::Bitmap src;
  ASSERT_EQ(src.Allocate(4, 8), 0);
  for (uint32_t y = 0; y < 8; ++y) {
    for (uint32_t x = 0; x < 4; ++x) src.Row(y)[x] = static_cast<uint16_t>(y * 4 + x + 1);
  }
  image::Bitmap dst;
  // Wider but shorter: still nearest, no averaging of the rows.
  ASSERT_EQ(image::Scaler::Scale(src, 8, 4, {0, 0, 8, 4}, dst), 0);
  for (uint32_t y = 0; y < 4; ++y) {
    for (uint32_t x = 0; x < 8; ++x) EXPECT_EQ(dst.Pixel(x, y), src.Pixel(x / 2, y * 2 + 1)) << x << "," << y;
  }
}

TEST(Scaler, WindowCropsAndLeavesTheOutsideBlack) {
  image::Bitmap src;
  ASSERT_EQ(src.Allocate(2, 2), 0);
  for (uint32_t y = 0; y < 2; ++y) {
    for (uint32_t x = 0; x < 2; ++x) src.Row(y)[x] = 0xFFFF;
  }
  image::Bitmap dst;
  ASSERT_EQ(image::Scaler::Scale(src, 100000, 4, {49998, -1, 50003, 3}, dst), 0);
  ASSERT_EQ(dst.Width(), 5u);
  ASSERT_EQ(dst.Height(), 4u);
  EXPECT_EQ(dst.Pixel(0, 0), 0);  // above the picture
  EXPECT_EQ(dst.Pixel(0, 1), 0xFFFF);
  EXPECT_EQ(dst.Pixel(4, 3), 0xFFFF);
  EXPECT_NE(image::Scaler::Scale(src, 4, 4, {0, 0, 0, 4}, dst), 0);
}

TEST(Bitmap, RefusesSizesBeyondTheBound) {
  image::Bitmap b;
  EXPECT_EQ(b.Allocate(0, 10), 8);
  EXPECT_EQ(b.Allocate(65535, 65535), 8);
  ASSERT_EQ(b.Allocate(3, 2), 0);
  EXPECT_EQ(b.Stride(), 4u);
  EXPECT_EQ(b.Pixel(2, 1), 0);
}

}  // namespace
