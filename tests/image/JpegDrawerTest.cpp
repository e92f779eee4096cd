#include <gtest/gtest.h>

#include <functional>

#include "image/JpegDecoder.h"
#include "image/JpegDrawer.h"
#include "image/JpegErrors.h"
#include "image/JpegMemorySource.h"
#include "tests/image/JpegTestFiles.h"

namespace {

using jpegtest::Bytes;
using jpegtest::RgbImage;

// A picture painted by a function of the pixel position.
RgbImage Painted(uint32_t w, uint32_t h, const std::function<uint32_t(uint32_t, uint32_t)>& rgbAt) {
  RgbImage img;
  img.width = w;
  img.height = h;
  img.rgb.resize(size_t{w} * h * 3);
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      uint32_t c = rgbAt(x, y);
      uint8_t* p = &img.rgb[(size_t{y} * w + x) * 3];
      p[0] = static_cast<uint8_t>(c >> 16);
      p[1] = static_cast<uint8_t>(c >> 8);
      p[2] = static_cast<uint8_t>(c);
    }
  }
  return img;
}

Bytes Solid(uint32_t w, uint32_t h, uint32_t rgb) {
  jpegtest::EncodeOptions o;
  o.quality = 95;
  return jpegtest::EncodeJpeg(Painted(w, h, [rgb](uint32_t, uint32_t) { return rgb; }), o);
}

enum class Hue { Red, Green, Blue, Other };

Hue HueOf(uint16_t p) {
  int r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
  if (r > 20 && g < 16 && b < 8) return Hue::Red;
  if (g > 40 && r < 8 && b < 8) return Hue::Green;
  if (b > 20 && r < 8 && g < 16) return Hue::Blue;
  return Hue::Other;
}

struct Drawn {
  int32_t rc = 0;
  image::Rect area;
  std::unique_ptr<image::Bitmap> bitmap;
};

Drawn Draw(const Bytes& jpeg, image::Rect target, uint32_t options) {
  Drawn d;
  image::JpegMemorySource source(jpeg.data(), jpeg.size());
  d.area = target;
  d.rc = image::DecodeJpegToBitmap(source, d.area, options | image::kDrawKeepBitmap, d.bitmap);
  return d;
}

TEST(JpegDrawer, FitsAndCentresInTheTarget) {
  Bytes jpeg = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(640, 480), {});
  Drawn d = Draw(jpeg, {10, 20, 110, 120}, 0);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(d.bitmap->Width(), 100u);
  EXPECT_EQ(d.bitmap->Height(), 75u);
  EXPECT_EQ(d.area, (image::Rect{10, 32, 110, 107}));

  d = Draw(jpeg, {10, 20, 110, 120}, image::kDrawNoVerticalCentre);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(d.area, (image::Rect{10, 20, 110, 95}));

  // Taller than wide: centred horizontally.
  d = Draw(jpeg, {0, 0, 300, 100}, 0);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(d.bitmap->Width(), 133u);
  EXPECT_EQ(d.bitmap->Height(), 100u);
  EXPECT_EQ(d.area, (image::Rect{83, 0, 216, 100}));
}

TEST(JpegDrawer, FillCropsTheHorizontalCentreAndTheTop) {
  // Landscape: red and blue margins of 1/8 each side; the centred crop shows none.
  Bytes landscape = jpegtest::EncodeJpeg(Painted(640, 480, [](uint32_t x, uint32_t) -> uint32_t {
    return x < 80 ? 0xFF0000 : x >= 560 ? 0x0000FF : 0x00FF00;
  }), {});
  Drawn d = Draw(landscape, {5, 5, 101, 101}, image::kDrawFill);
  ASSERT_EQ(d.rc, 0);
  ASSERT_EQ(d.bitmap->Width(), 96u);
  ASSERT_EQ(d.bitmap->Height(), 96u);
  EXPECT_EQ(d.area, (image::Rect{5, 5, 101, 101}));
  for (uint32_t x = 0; x < 96; x += 5) EXPECT_EQ(HueOf(d.bitmap->Pixel(x, 48)), Hue::Green) << x;

  // Portrait: the top 96 x 96 after scaling the width to 96 (rows 0-95 of 128).
  Bytes portrait = jpegtest::EncodeJpeg(Painted(480, 640, [](uint32_t, uint32_t y) -> uint32_t {
    return y < 400 ? 0xFF0000 : 0x0000FF;
  }), {});
  d = Draw(portrait, {0, 0, 96, 96}, image::kDrawFill);
  ASSERT_EQ(d.rc, 0);
  ASSERT_EQ(d.bitmap->Height(), 96u);
  EXPECT_EQ(HueOf(d.bitmap->Pixel(48, 2)), Hue::Red);
  EXPECT_EQ(HueOf(d.bitmap->Pixel(48, 70)), Hue::Red);
  EXPECT_EQ(HueOf(d.bitmap->Pixel(48, 93)), Hue::Blue);
}

TEST(JpegDrawer, NaturalSizeAndEnlarging) {
  Bytes small = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(60, 40), {});
  Drawn d = Draw(small, {0, 0, 200, 200}, image::kDrawNaturalSize);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(d.bitmap->Width(), 60u);
  EXPECT_EQ(d.area, (image::Rect{70, 80, 130, 120}));

  // Enlarged 5 times: every pixel is the nearest source pixel.
  Bytes tiny = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(20, 10), {});
  image::JpegMemorySource source(tiny.data(), tiny.size());
  image::JpegDecoder decoder(source);
  image::Bitmap original;
  ASSERT_EQ(decoder.ReadHeaders(), 0);
  ASSERT_EQ(decoder.Decode(0, original), 0);
  d = Draw(tiny, {0, 0, 100, 100}, 0);
  ASSERT_EQ(d.rc, 0);
  ASSERT_EQ(d.bitmap->Width(), 100u);
  ASSERT_EQ(d.bitmap->Height(), 50u);
  for (uint32_t y = 0; y < 50; ++y) {
    for (uint32_t x = 0; x < 100; ++x) ASSERT_EQ(d.bitmap->Pixel(x, y), original.Pixel(x / 5, y / 5));
  }
}

TEST(JpegDrawer, SmallTargetsUseTheExifThumbnail) {
  Bytes main = Solid(640, 480, 0xFF0000);
  jpegtest::ExifOptions o;
  o.thumbnail = Solid(160, 120, 0x0000FF);
  Bytes withThumb = jpegtest::InsertExif(main, jpegtest::BuildTiff(o));

  Drawn d = Draw(withThumb, {0, 0, 96, 96}, image::kDrawFill);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(HueOf(d.bitmap->Pixel(48, 48)), Hue::Blue);
  d = Draw(withThumb, {0, 0, 160, 160}, 0);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(d.bitmap->Width(), 160u);
  EXPECT_EQ(HueOf(d.bitmap->Pixel(80, 60)), Hue::Blue);
  d = Draw(withThumb, {0, 0, 161, 160}, 0);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(HueOf(d.bitmap->Pixel(80, 60)), Hue::Red);

  // The thumbnail's own size counts: a 16:9 thumbnail is not stretched to 4:3.
  o.thumbnail = Solid(160, 90, 0x0000FF);
  d = Draw(jpegtest::InsertExif(main, jpegtest::BuildTiff(o)), {0, 0, 160, 160}, 0);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(d.bitmap->Height(), 90u);

  // Length 0, or a thumbnail that is not a JPEG: the main picture is drawn.
  o.thumbnail = Solid(160, 120, 0x0000FF);
  o.zeroLength = true;
  d = Draw(jpegtest::InsertExif(main, jpegtest::BuildTiff(o)), {0, 0, 96, 96}, 0);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(HueOf(d.bitmap->Pixel(48, 40)), Hue::Red);
  o.zeroLength = false;
  o.thumbnail = Bytes(500, 0x42);
  d = Draw(jpegtest::InsertExif(main, jpegtest::BuildTiff(o)), {0, 0, 96, 96}, 0);
  ASSERT_EQ(d.rc, 0);
  EXPECT_EQ(HueOf(d.bitmap->Pixel(48, 40)), Hue::Red);
}

TEST(JpegDrawer, FailuresDrawNothing) {
  class Recorder : public image::ImageCanvas {
   public:
    void DrawBitmap(const image::Bitmap& bitmap, const image::Rect& area) override {
      ++calls;
      width = bitmap.Width();
      last = area;
    }
    int calls = 0;
    uint32_t width = 0;
    image::Rect last;
  };
  Bytes good = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(64, 64), {});
  Recorder canvas;
  image::JpegMemorySource source(good.data(), good.size());
  image::Rect target{0, 0, 32, 32};
  ASSERT_EQ(image::DrawJpeg(source, canvas, target, 0), 0);
  EXPECT_EQ(canvas.calls, 1);
  EXPECT_EQ(canvas.width, 32u);
  EXPECT_EQ(canvas.last, target);

  Bytes cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2));
  image::JpegMemorySource cutSource(cut.data(), cut.size());
  image::Rect target2{0, 0, 64, 64};
  EXPECT_EQ(image::DrawJpeg(cutSource, canvas, target2, 0), image::kJpegErrTruncated);
  EXPECT_EQ(canvas.calls, 1);
  EXPECT_EQ(target2, (image::Rect{0, 0, 64, 64}));

  // No size at all is error 2; one side 0 is an empty frame.
  Bytes zero = good;
  for (size_t i = 2; i + 9 < zero.size(); ++i) {
    if (zero[i] == 0xFF && zero[i + 1] == 0xC0) {
      zero[i + 5] = zero[i + 6] = zero[i + 7] = zero[i + 8] = 0;
      break;
    }
  }
  EXPECT_EQ(Draw(zero, {0, 0, 10, 10}, 0).rc, 2);
  EXPECT_EQ(Draw(good, {0, 0, 0, 10}, 0).rc, 87);
}

}  // namespace
