#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "ui/BitmapResource.h"

namespace {

using ui::BitmapResource;

QImage Frame(const QImage& strip, int index, int size) { return strip.copy(0, index * size, size, size); }

TEST(BitmapResourceTest, SizesMatchHowTheyAreCut) {
  struct Expect {
    uint32_t id;
    int width, height;
  };
  for (Expect e : {Expect{152, 21, 21}, Expect{157, 16, 16}, Expect{158, 16, 64}, Expect{159, 16, 64},
                   Expect{160, 16, 64}, Expect{161, 32, 128}, Expect{162, 32, 128}}) {
    const QImage image = BitmapResource::Load(e.id);
    ASSERT_FALSE(image.isNull()) << e.id;
    EXPECT_EQ(image.size(), QSize(e.width, e.height)) << e.id;
  }
  EXPECT_FALSE(BitmapResource::Load(138).isNull());
  EXPECT_TRUE(BitmapResource::Load(999).isNull());
  EXPECT_TRUE(BitmapResource::ProgramIcon().hasAlphaChannel());
}

// Cyan is left out when these are drawn, so every pixel must be either exactly
// cyan or clearly something else: a blend with cyan would show as a fringe.
TEST(BitmapResourceTest, CyanKeyedBitmapsHaveNoCyanFringe) {
  for (uint32_t id : {152u, 157u, 158u, 159u, 160u, 161u, 162u}) {
    const QImage image = BitmapResource::Load(id).convertToFormat(QImage::Format_RGB32);
    int cyan = 0;
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (p == qRgb(0, 255, 255)) {
          ++cyan;
          continue;
        }
        ++drawn;
        const bool nearCyan = qRed(p) < 40 && qGreen(p) > 215 && qBlue(p) > 215;
        EXPECT_FALSE(nearCyan) << id << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 255, 255)) << id;
    EXPECT_GT(cyan, 0) << id;
    EXPECT_GT(drawn, image.width() * image.height() / 8) << id;
  }
}

TEST(BitmapResourceTest, StripsHoldDistinctFrames) {
  for (auto [id, size] : {std::pair{158u, 16}, std::pair{162u, 32}, std::pair{159u, 16}, std::pair{161u, 32}}) {
    const QImage strip = BitmapResource::Load(id);
    for (int a = 0; a < 4; ++a) {
      for (int b = a + 1; b < 4; ++b) EXPECT_NE(Frame(strip, a, size), Frame(strip, b, size)) << id;
    }
  }
}

}  // namespace
