#include <gtest/gtest.h>

#include <string>

#include "image/JpegDecoder.h"
#include "image/JpegErrors.h"
#include "image/JpegMemorySource.h"
#include "tests/image/JpegTestFiles.h"

namespace {

using jpegtest::Bytes;
using jpegtest::EncodeOptions;

struct Decoded {
  int32_t rc = 0;
  image::Bitmap bitmap;
};

Decoded DecodeAt(const Bytes& jpeg, int level) {
  Decoded d;
  image::JpegMemorySource source(jpeg.data(), jpeg.size());
  image::JpegDecoder decoder(source);
  d.rc = decoder.ReadHeaders();
  if (d.rc == 0) d.rc = decoder.Decode(level, d.bitmap);
  return d;
}

// Decodes with both decoders at every level and checks agreement after reducing
// libjpeg's output to 5-6-5. At full size both use the same integer transform and
// colour tables and agree exactly; 1 step is allowed so that a different rounding in
// a future libjpeg does not break the build. The reduced transforms compute the same
// block means as libjpeg's but round at other points, so a few channels per picture
// come out 1 step apart; more than that, or more than 1 % of channels off, is a fault.
void ExpectAgreement(const Bytes& jpeg, const std::string& what) {
  ASSERT_FALSE(jpeg.empty()) << what;
  for (int level = 0; level <= 3; ++level) {
    SCOPED_TRACE(what + " level " + std::to_string(level));
    jpegtest::RgbImage ref;
    ASSERT_TRUE(jpegtest::ReferenceDecode(jpeg, 1 << level, ref));
    Decoded ours = DecodeAt(jpeg, level);
    ASSERT_EQ(ours.rc, 0);
    ASSERT_EQ(ours.bitmap.Width(), ref.width);
    ASSERT_EQ(ours.bitmap.Height(), ref.height);
    jpegtest::Agreement a = jpegtest::Compare(ours.bitmap.Row(0), ours.bitmap.Stride(), ref);
    EXPECT_LE(a.maxSteps, 1);
    EXPECT_LE(a.meanSteps, 0.01);
  }
}

struct Layout {
  const char* name;
  int h;
  int v;
  bool grey;
};

constexpr Layout kLayouts[] = {
    {"4:4:4", 1, 1, false}, {"4:2:2", 2, 1, false}, {"4:4:0", 1, 2, false},
    {"4:2:0", 2, 2, false}, {"grey", 1, 1, true},
};

TEST(JpegDecoder, AgreesWithLibjpegInEveryLayoutAndSize) {
  const uint32_t sizes[][2] = {{1, 1}, {8, 8}, {16, 16}, {37, 23}, {23, 41}, {101, 67}};
  for (const Layout& l : kLayouts) {
    for (const auto& s : sizes) {
      EncodeOptions o;
      o.hSamp = l.h;
      o.vSamp = l.v;
      o.grey = l.grey;
      Bytes jpeg = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(s[0], s[1]), o);
      ExpectAgreement(jpeg, std::string(l.name) + " " + std::to_string(s[0]) + "x" + std::to_string(s[1]));
    }
  }
}

TEST(JpegDecoder, AgreesAcrossQualitiesAndImageSpecificTables) {
  for (int quality : {50, 75, 90, 100}) {
    for (bool optimize : {false, true}) {
      EncodeOptions o;
      o.quality = quality;
      o.optimize = optimize;
      Bytes jpeg = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(120, 90, static_cast<uint32_t>(quality)), o);
      ExpectAgreement(jpeg, "quality " + std::to_string(quality) + (optimize ? " optimised" : ""));
    }
  }
}

TEST(JpegDecoder, AgreesWhereBlocksEndAtTheirLastCoefficient) {
  // Noise at quality 100 fills most blocks up to coefficient 63, which then ends them
  // without an end-of-block code. The large picture has enough blocks for 1/8 to pass
  // over several symbols at a time.
  struct Case {
    uint32_t side;
    Layout layout;
  };
  for (const Case& c : {Case{48, kLayouts[0]}, Case{48, kLayouts[3]}, Case{48, kLayouts[4]}, Case{384, kLayouts[0]}}) {
    jpegtest::RgbImage noise = jpegtest::SyntheticPhoto(c.side, c.side);
    for (size_t i = 0; i < noise.rgb.size(); ++i) noise.rgb[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
    EncodeOptions o;
    o.hSamp = c.layout.h;
    o.vSamp = c.layout.v;
    o.grey = c.layout.grey;
    o.quality = 100;
    ExpectAgreement(jpegtest::EncodeJpeg(noise, o), std::string(c.layout.name) + " noise " + std::to_string(c.side));
  }
}

TEST(JpegDecoder, HonoursRestartIntervals) {
  for (int interval : {1, 2, 7}) {
    for (const Layout& l : {kLayouts[0], kLayouts[3], kLayouts[4]}) {
      EncodeOptions o;
      o.hSamp = l.h;
      o.vSamp = l.v;
      o.grey = l.grey;
      o.restartInterval = interval;
      Bytes jpeg = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(75, 53), o);
      ExpectAgreement(jpeg, std::string(l.name) + " restart " + std::to_string(interval));
    }
  }
}

TEST(JpegDecoder, ReadsFromAFileSizedPieceBoundaryOnward) {
  // A picture larger than one 38 912-byte piece, read through a source that hands out
  // small pieces, so that codes, stuffed bytes and restart markers straddle pieces.
  class Trickle : public image::JpegSource {
   public:
    explicit Trickle(const Bytes& b) : b_(b) {}
    int32_t SeekTo(uint64_t offset) override {
      pos_ = static_cast<size_t>(std::min<uint64_t>(offset, b_.size()));
      return 0;
    }
    int32_t Next(const uint8_t*& data, size_t& len) override {
      len = std::min<size_t>(step_, b_.size() - pos_);
      data = b_.data() + pos_;
      pos_ += len;
      step_ = step_ % 13 + 1;
      return 0;
    }
    uint64_t Length() const override { return b_.size(); }

   private:
    const Bytes& b_;
    size_t pos_ = 0;
    size_t step_ = 1;
  };
  EncodeOptions o;
  o.restartInterval = 3;
  o.quality = 95;
  Bytes jpeg = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(160, 120), o);
  for (int level = 0; level <= image::JpegDecoder::kMaxLevel; ++level) {
    Decoded whole = DecodeAt(jpeg, level);
    ASSERT_EQ(whole.rc, 0);
    Trickle source(jpeg);
    image::JpegDecoder decoder(source);
    ASSERT_EQ(decoder.ReadHeaders(), 0);
    image::Bitmap pieces;
    ASSERT_EQ(decoder.Decode(level, pieces), 0);
    for (uint32_t y = 0; y < pieces.Height(); ++y) {
      for (uint32_t x = 0; x < pieces.Width(); ++x) {
        ASSERT_EQ(pieces.Pixel(x, y), whole.bitmap.Pixel(x, y)) << "level " << level << " at " << x << "," << y;
      }
    }
  }
}

TEST(JpegDecoder, ReportsHeaderFacts) {
  EncodeOptions o;
  o.hSamp = 2;
  o.vSamp = 1;
  o.restartInterval = 4;
  Bytes jpeg = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(33, 17), o);
  image::JpegMemorySource source(jpeg.data(), jpeg.size());
  image::JpegDecoder decoder(source);
  ASSERT_EQ(decoder.ReadHeaders(), 0);
  const image::JpegHeader& h = decoder.Header();
  EXPECT_EQ(h.width, 33u);
  EXPECT_EQ(h.height, 17u);
  EXPECT_EQ(h.componentCount, 3);
  EXPECT_EQ(h.components[0].h, 2);
  EXPECT_EQ(h.components[0].v, 1);
  EXPECT_EQ(h.components[1].h, 1);
  EXPECT_EQ(h.restartInterval, 4);
  EXPECT_FALSE(h.progressive);
  EXPECT_EQ(h.frameMarker, 0xC0);
}

TEST(JpegDecoder, ErrorsAreStickyAcrossCalls) {
  Bytes notJpeg(600, 0x11);
  image::JpegMemorySource source(notJpeg.data(), notJpeg.size());
  image::JpegDecoder decoder(source);
  EXPECT_EQ(decoder.ReadHeaders(), image::kJpegErrNotJpeg);
  image::Bitmap bitmap;
  EXPECT_EQ(decoder.Decode(0, bitmap), image::kJpegErrNotJpeg);
  EXPECT_EQ(bitmap.Width(), 0u);

  Bytes good = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(8, 8), {});
  image::JpegMemorySource goodSource(good.data(), good.size());
  image::JpegDecoder second(goodSource);
  ASSERT_EQ(second.ReadHeaders(), 0);
  EXPECT_EQ(second.Decode(4, bitmap), image::kJpegErrUnexpectedMarker);
  EXPECT_EQ(second.Decode(0, bitmap), image::kJpegErrUnexpectedMarker);
}

}  // namespace
