#include <gtest/gtest.h>

#include "image/ExifReader.h"
#include "image/JpegDecoder.h"
#include "image/JpegMemorySource.h"
#include "tests/image/JpegTestFiles.h"

namespace {

using jpegtest::Bytes;
using jpegtest::ExifOptions;

image::ExifData Parse(const Bytes& tiff, uint64_t at = 100) {
  image::ExifData d;
  image::ExifReader::Parse(tiff.data(), tiff.size(), at, d);
  return d;
}

TEST(ExifReader, ReadsBothByteOrders) {
  for (bool be : {true, false}) {
    SCOPED_TRACE(be ? "big-endian" : "little-endian");
    ExifOptions o;
    o.bigEndian = be;
    o.thumbnail = Bytes(300, 0xAB);
    Bytes tiff = jpegtest::BuildTiff(o);
    image::ExifData d = Parse(tiff, 1000);
    EXPECT_EQ(d.description, "A walk in the park");
    EXPECT_EQ(d.make, "Maker");
    EXPECT_EQ(d.model, "Model 7");
    EXPECT_EQ(d.captureDate, "2025:06:01 14:30:05");
    EXPECT_EQ(d.userComment, "holiday");
    EXPECT_EQ(d.compression, 6);
    ASSERT_TRUE(d.hasThumbnail);
    EXPECT_EQ(d.thumbnailLength, 300u);
    // The offset is from the start of the input; the thumbnail is the block's tail.
    EXPECT_EQ(d.thumbnailOffset, 1000 + tiff.size() - 300);
  }
}

TEST(ExifReader, ThumbnailLengthZeroOrOutsideTheBlockMeansNone) {
  ExifOptions o;
  o.thumbnail = Bytes(50, 1);
  o.zeroLength = true;
  EXPECT_FALSE(Parse(jpegtest::BuildTiff(o)).hasThumbnail);

  o.zeroLength = false;
  Bytes tiff = jpegtest::BuildTiff(o);
  tiff.resize(tiff.size() - 1);  // the thumbnail now runs past the block
  image::ExifData d = Parse(tiff);
  EXPECT_FALSE(d.hasThumbnail);
  EXPECT_EQ(d.description, "A walk in the park");

  ExifOptions none;
  EXPECT_FALSE(Parse(jpegtest::BuildTiff(none)).hasThumbnail);
}

TEST(ExifReader, TextsAreKeptOnlyOutsideTheEntryAndCut) {
  ExifOptions o;
  o.make = "abc";  // 4 bytes with its NUL: stored inside the entry
  o.description = std::string(300, 'd');
  o.date = "2025:06:01 14:30:05 and more";
  image::ExifData d = Parse(jpegtest::BuildTiff(o));
  EXPECT_EQ(d.make, "");
  EXPECT_EQ(d.description, std::string(199, 'd'));
  EXPECT_EQ(d.captureDate, "2025:06:01 14:30:05");
  EXPECT_EQ(d.model, "Model 7");
}

TEST(ExifReader, HostileStructuresEndQuietly) {
  ExifOptions o;
  o.thumbnail = Bytes(20, 1);
  Bytes tiff = jpegtest::BuildTiff(o);
  // Every prefix of the block parses without reading past it.
  for (size_t n = 0; n < tiff.size(); ++n) {
    Bytes cut(tiff.begin(), tiff.begin() + static_cast<ptrdiff_t>(n));
    image::ExifData d = Parse(cut);
    EXPECT_LE(d.description.size(), 199u);
  }
  // IFD0 whose next-IFD link points back at itself, with an entry count far too large.
  Bytes loop = {'M', 'M', 0, 42, 0, 0, 0, 8, 0xFF, 0xFF};
  Bytes entry = {0x01, 0x0E, 0, 2, 0, 0, 0, 20, 0, 0, 0, 30};  // description, 20 bytes at 30
  loop.insert(loop.end(), entry.begin(), entry.end());
  loop.insert(loop.end(), {0, 0, 0, 8});
  while (loop.size() < 30) loop.push_back(0);
  const char text[] = "looping description";
  loop.insert(loop.end(), text, text + sizeof(text));
  image::ExifData d = Parse(loop);
  EXPECT_EQ(d.description, "looping description");
}

TEST(ExifReader, DecoderFindsTheBlockInApp1) {
  ExifOptions o;
  o.bigEndian = false;
  Bytes thumb = jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(40, 30), {});
  o.thumbnail = thumb;
  Bytes jpeg = jpegtest::InsertExif(jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(64, 48), {}), jpegtest::BuildTiff(o));
  image::JpegMemorySource source(jpeg.data(), jpeg.size());
  image::JpegDecoder decoder(source);
  ASSERT_EQ(decoder.ReadHeaders(), 0);
  const image::ExifData& d = decoder.Header().exif;
  ASSERT_TRUE(d.hasThumbnail);
  ASSERT_EQ(d.thumbnailLength, thumb.size());
  ASSERT_LE(d.thumbnailOffset + thumb.size(), jpeg.size());
  EXPECT_TRUE(std::equal(thumb.begin(), thumb.end(), jpeg.begin() + static_cast<ptrdiff_t>(d.thumbnailOffset)));
  EXPECT_EQ(decoder.Header().width, 64u);
}

}  // namespace
