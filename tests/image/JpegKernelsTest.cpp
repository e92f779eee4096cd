#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/JpegDecoder.h"
#include "image/JpegKernels.h"
#include "image/JpegMemorySource.h"
#include "tests/image/JpegTestFiles.h"

// The processor's kernels against the portable ones, bit for bit, so that the
// portable code stays tested on a machine that runs the vector code.
namespace {

using image::JpegKernels;
using jpegtest::Bytes;

class JpegKernelsTest : public testing::Test {
 protected:
  void SetUp() override {
    if (&JpegKernels::Best() == &JpegKernels::Portable()) GTEST_SKIP() << "only the portable kernels run here";
  }
  const JpegKernels& best_ = JpegKernels::Best();
  const JpegKernels& portable_ = JpegKernels::Portable();
};

// Blocks from plain photo values up to the extremes of 16-bit tables, where the
// vector transforms must hand over to the scalar ones.
TEST_F(JpegKernelsTest, TransformsAgreeFromSmallToExtremeCoefficients) {
  std::mt19937 rng(17);
  alignas(32) int16_t coef[80];
  alignas(32) int32_t quant[64];
  for (auto transform : {&JpegKernels::full, &JpegKernels::half, &JpegKernels::quarter}) {
    for (int magnitude : {1, 16, 256, 2048, 32767}) {
      for (int quantMax : {1, 8, 99, 255, 4096, 65535}) {
        for (int trial = 0; trial < 100; ++trial) {
          std::uniform_int_distribution<int> value(-magnitude - 1, magnitude);
          std::uniform_int_distribution<int> step(1, quantMax);
          int used = trial % 64 + 1;  // how many coefficients are not zero
          for (int i = 0; i < 64; ++i) {
            coef[i] = static_cast<int16_t>(i < used ? value(rng) : 0);
            quant[i] = step(rng);
          }
          alignas(32) int16_t copy[80];
          std::memcpy(copy, coef, sizeof coef);
          uint8_t a[8 * 12], b[8 * 12];
          std::memset(a, 0xAA, sizeof a);
          std::memset(b, 0xAA, sizeof b);
          (best_.*transform)(coef, quant, a, 12);
          (portable_.*transform)(copy, quant, b, 12);
          ASSERT_EQ(std::memcmp(a, b, sizeof a), 0) << "magnitude " << magnitude << " quant " << quantMax;
          for (int i = 0; i < 64; ++i) ASSERT_EQ(coef[i], 0) << "left behind at " << i;
        }
      }
    }
  }
}

TEST_F(JpegKernelsTest, ColourConversionsAgreeForEveryAreaSize) {
  std::mt19937 rng(5);
  uint8_t y[16 * 16], cb[8 * 8], cr[8 * 8];
  for (uint8_t& v : y) v = static_cast<uint8_t>(rng());
  for (uint8_t& v : cb) v = static_cast<uint8_t>(rng());
  for (uint8_t& v : cr) v = static_cast<uint8_t>(rng());
  // Extremes of chroma that push channels past 0 and 255.
  cb[0] = cr[1] = 0;
  cb[1] = cr[0] = 255;
  struct Layout {
    const char* name;
    JpegKernels::Convert JpegKernels::*convert;
    int maxW;
    int maxH;
  };
  const Layout layouts[] = {{"grey", &JpegKernels::grey, 8, 8},
                            {"1x1", &JpegKernels::ycc11, 8, 8},
                            {"2x1", &JpegKernels::ycc21, 16, 8},
                            {"1x2", &JpegKernels::ycc12, 8, 16},
                            {"2x2", &JpegKernels::ycc22, 16, 16}};
  for (const Layout& l : layouts) {
    for (int w = 1; w <= l.maxW; ++w) {
      for (int h = 1; h <= l.maxH; ++h) {
        std::vector<uint16_t> a(17 * 16, 0x5555), b(17 * 16, 0x5555);
        (best_.*l.convert)(y, 16, cb, cr, 8, a.data(), 17, w, h);
        (portable_.*l.convert)(y, 16, cb, cr, 8, b.data(), 17, w, h);
        ASSERT_EQ(a, b) << l.name << " " << w << "x" << h;
      }
    }
  }
}

image::Bitmap Decode(const Bytes& jpeg, int level, const JpegKernels& kernels) {
  image::JpegMemorySource source(jpeg.data(), jpeg.size());
  image::JpegDecoder decoder(source);
  decoder.SetKernels(kernels);
  image::Bitmap bitmap;
  EXPECT_EQ(decoder.ReadHeaders(), 0);
  EXPECT_EQ(decoder.Decode(level, bitmap), 0);
  return bitmap;
}

void ExpectSamePixels(const Bytes& jpeg, const JpegKernels& a, const JpegKernels& b, const std::string& what) {
  for (int level = 0; level <= image::JpegDecoder::kMaxLevel; ++level) {
    image::Bitmap x = Decode(jpeg, level, a);
    image::Bitmap y = Decode(jpeg, level, b);
    ASSERT_EQ(x.Width(), y.Width()) << what;
    ASSERT_EQ(x.Height(), y.Height()) << what;
    for (uint32_t r = 0; r < x.Height(); ++r) {
      ASSERT_EQ(std::memcmp(x.Row(r), y.Row(r), x.Width() * 2), 0) << what << " level " << level << " row " << r;
    }
  }
}

TEST_F(JpegKernelsTest, WholePicturesDecodeTheSameInEveryLayout) {
  struct Layout {
    const char* name;
    int h;
    int v;
    bool grey;
  };
  const Layout layouts[] = {{"4:4:4", 1, 1, false},
                            {"4:2:2", 2, 1, false},
                            {"4:4:0", 1, 2, false},
                            {"4:2:0", 2, 2, false},
                            {"grey", 1, 1, true}};
  for (const Layout& l : layouts) {
    for (int quality : {50, 95, 100}) {
      jpegtest::EncodeOptions o;
      o.hSamp = l.h;
      o.vSamp = l.v;
      o.grey = l.grey;
      o.quality = quality;
      // Odd sizes leave partial MCUs on the right and at the bottom.
      Bytes jpeg = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(77, 45, static_cast<uint32_t>(quality)), o);
      ExpectSamePixels(jpeg, best_, portable_, std::string(l.name) + " quality " + std::to_string(quality));
    }
  }
}

}  // namespace
