#include <gtest/gtest.h>

#include <string>

#include "image/JpegDecoder.h"
#include "image/JpegErrors.h"
#include "image/JpegMemorySource.h"
#include "tests/image/JpegTestFiles.h"

// Every decoder error code, each provoked by a file crafted from a good one.
namespace {

using jpegtest::Bytes;

int32_t DecodeAll(const Bytes& jpeg, int level = 0) {
  image::JpegMemorySource source(jpeg.data(), jpeg.size());
  image::JpegDecoder decoder(source);
  int32_t rc = decoder.ReadHeaders();
  image::Bitmap bitmap;
  if (rc == 0) rc = decoder.Decode(level, bitmap);
  return rc;
}

Bytes Good(uint32_t w = 16, uint32_t h = 16, int restart = 0) {
  jpegtest::EncodeOptions o;
  o.restartInterval = restart;
  return jpegtest::EncodeJpeg(jpegtest::SyntheticPhoto(w, h), o);
}

// Offset of the first segment with `marker` (at its 0xFF), searching the headers.
size_t Find(const Bytes& b, uint8_t marker) {
  size_t at = 2;
  while (at + 4 <= b.size() && b[at] == 0xFF) {
    if (b[at + 1] == marker) return at;
    if (b[at + 1] == 0xDA) break;
    at += 2 + (size_t{b[at + 2]} << 8 | b[at + 3]);
  }
  ADD_FAILURE() << "no marker " << int{marker};
  return 0;
}

size_t SegmentEnd(const Bytes& b, size_t at) { return at + 2 + (size_t{b[at + 2]} << 8 | b[at + 3]); }

Bytes Segment(uint8_t marker, const Bytes& payload) {
  size_t len = payload.size() + 2;
  Bytes s = {0xFF, marker, static_cast<uint8_t>(len >> 8), static_cast<uint8_t>(len)};
  s.insert(s.end(), payload.begin(), payload.end());
  return s;
}

Bytes InsertBefore(Bytes b, size_t at, const Bytes& bytes) {
  b.insert(b.begin() + static_cast<ptrdiff_t>(at), bytes.begin(), bytes.end());
  return b;
}

Bytes ReplaceSegment(Bytes b, uint8_t marker, const Bytes& segment) {
  size_t at = Find(b, marker);
  size_t end = SegmentEnd(b, at);
  b.erase(b.begin() + static_cast<ptrdiff_t>(at), b.begin() + static_cast<ptrdiff_t>(end));
  return InsertBefore(b, at, segment);
}

TEST(JpegErrors, StartOfImageIsLookedForInTheFirst513Bytes) {
  Bytes good = Good();
  Bytes junk(600, 0x20);
  EXPECT_EQ(DecodeAll(junk), image::kJpegErrNotJpeg);
  EXPECT_EQ(DecodeAll(Bytes{}), image::kJpegErrNotJpeg);

  Bytes late(300, 0x20);
  late.insert(late.end(), good.begin(), good.end());
  EXPECT_EQ(DecodeAll(late), 0);
  Bytes tooLate(520, 0x20);
  tooLate.insert(tooLate.end(), good.begin(), good.end());
  EXPECT_EQ(DecodeAll(tooLate), image::kJpegErrNotJpeg);
  // A start marker not followed by another marker is not the start.
  Bytes fake = {0x20, 0xFF, 0xD8, 0x00};
  fake.insert(fake.end(), good.begin(), good.end());
  EXPECT_EQ(DecodeAll(fake), 0);
}

TEST(JpegErrors, FrameTypes) {
  Bytes b = Good();
  size_t sof = Find(b, 0xC0);
  auto withMarker = [&](uint8_t m) {
    Bytes c = b;
    c[sof + 1] = m;
    return DecodeAll(c);
  };
  EXPECT_EQ(withMarker(0xC1), 0);
  EXPECT_EQ(withMarker(0xC2), image::kJpegErrProgressive);
  EXPECT_EQ(withMarker(0xC9), image::kJpegErrArithmetic);
  EXPECT_EQ(withMarker(0xC3), image::kJpegErrFrameType);
  EXPECT_EQ(withMarker(0xCF), image::kJpegErrFrameType);
}

TEST(JpegErrors, FrameHeaderFields) {
  Bytes b = Good();
  size_t sof = Find(b, 0xC0);
  Bytes precision = b;
  precision[sof + 4] = 12;
  EXPECT_EQ(DecodeAll(precision), image::kJpegErrPrecision);

  // 5 components, with a length that fits them.
  Bytes five = {8, 0, 16, 0, 16, 5};
  for (uint8_t i = 1; i <= 5; ++i) five.insert(five.end(), {i, 0x11, 0});
  EXPECT_EQ(DecodeAll(ReplaceSegment(b, 0xC0, Segment(0xC0, five))), image::kJpegErrComponentCount);

  Bytes longer(b.begin() + static_cast<ptrdiff_t>(sof) + 4, b.begin() + static_cast<ptrdiff_t>(SegmentEnd(b, sof)));
  longer.push_back(0);
  EXPECT_EQ(DecodeAll(ReplaceSegment(b, 0xC0, Segment(0xC0, longer))), image::kJpegErrFrameLength);

  Bytes cmyk = {8, 0, 16, 0, 16, 4};
  for (uint8_t i = 1; i <= 4; ++i) cmyk.insert(cmyk.end(), {i, 0x11, 0});
  EXPECT_EQ(DecodeAll(ReplaceSegment(b, 0xC0, Segment(0xC0, cmyk))), image::kJpegErrComponents);
  Bytes two = {8, 0, 16, 0, 16, 2, 1, 0x11, 0, 2, 0x11, 1};
  EXPECT_EQ(DecodeAll(ReplaceSegment(b, 0xC0, Segment(0xC0, two))), image::kJpegErrComponents);

  // Components 1, 2, 3 follow the count at sof + 10, 13, 16; sampling is their second byte.
  auto sampling = [&](size_t component, uint8_t hv) {
    Bytes c = b;
    c[sof + 10 + 3 * component + 1] = hv;
    return DecodeAll(c);
  };
  EXPECT_EQ(sampling(1, 0x21), image::kJpegErrSampling);  // chroma subsampled differently
  EXPECT_EQ(sampling(2, 0x12), image::kJpegErrSampling);
  EXPECT_EQ(sampling(0, 0x31), image::kJpegErrSampling);  // luma 3 x 1
  EXPECT_EQ(sampling(0, 0x02), image::kJpegErrEmptyFrame);
  EXPECT_EQ(sampling(0, 0x21), 0);

  Bytes zeroWidth = b;
  zeroWidth[sof + 7] = 0;
  zeroWidth[sof + 8] = 0;
  EXPECT_EQ(DecodeAll(zeroWidth), image::kJpegErrEmptyFrame);
}

TEST(JpegErrors, HuffmanTables) {
  Bytes b = Good();
  size_t dht = Find(b, 0xC4);
  auto table = [](uint8_t classId, Bytes counts, size_t symbols) {
    Bytes p = {classId};
    p.insert(p.end(), counts.begin(), counts.end());
    for (size_t i = 0; i < symbols; ++i) p.push_back(static_cast<uint8_t>(i));
    return Segment(0xC4, p);
  };
  Bytes counts12 = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(DecodeAll(InsertBefore(b, dht, table(0x24, counts12, 12))), image::kJpegErrHuffmanId);
  EXPECT_EQ(DecodeAll(InsertBefore(b, dht, table(0x04, counts12, 12))), image::kJpegErrHuffmanId);
  Bytes all16(16, 16);
  EXPECT_EQ(DecodeAll(InsertBefore(b, dht, table(0x00, all16, 256))), image::kJpegErrHuffmanCounts);
  Bytes over = {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(DecodeAll(InsertBefore(b, dht, table(0x00, over, 3))), image::kJpegErrHuffmanCounts);
  EXPECT_EQ(DecodeAll(InsertBefore(b, dht, table(0x00, counts12, 5))), image::kJpegErrHuffmanLength);
  EXPECT_EQ(DecodeAll(InsertBefore(b, dht, Segment(0xC4, {0x00, 1, 2}))), image::kJpegErrHuffmanLength);
}

TEST(JpegErrors, QuantisationTables) {
  Bytes b = Good();
  size_t dqt = Find(b, 0xDB);
  EXPECT_EQ(DecodeAll(InsertBefore(b, dqt, {0xFF, 0xDB, 0x00, 0x01})), image::kJpegErrQuantSegment);
  Bytes id4(65, 1);
  id4[0] = 0x04;
  EXPECT_EQ(DecodeAll(InsertBefore(b, dqt, Segment(0xDB, id4))), image::kJpegErrQuantId);
  Bytes shortTable(30, 1);
  shortTable[0] = 0x00;
  EXPECT_EQ(DecodeAll(InsertBefore(b, dqt, Segment(0xDB, shortTable))), image::kJpegErrQuantLength);
  Bytes sixteenBit(129, 1);
  sixteenBit[0] = 0x10;
  sixteenBit.resize(100);
  EXPECT_EQ(DecodeAll(InsertBefore(b, dqt, Segment(0xDB, sixteenBit))), image::kJpegErrQuantLength);
}

TEST(JpegErrors, OtherSegments) {
  Bytes b = Good();
  size_t sos = Find(b, 0xDA);
  EXPECT_EQ(DecodeAll(InsertBefore(b, sos, {0xFF, 0xE5, 0x00, 0x01})), image::kJpegErrSegmentLength);
  EXPECT_EQ(DecodeAll(InsertBefore(b, sos, {0xFF, 0xDD, 0x00, 0x05, 0, 1, 0})), image::kJpegErrRestartLength);
  EXPECT_EQ(DecodeAll(InsertBefore(b, sos, {0xFF, 0xCC, 0x00, 0x04, 0, 0})), image::kJpegErrArithmetic);
  EXPECT_EQ(DecodeAll(InsertBefore(b, sos, {0xFF, 0x01})), image::kJpegErrUnexpectedMarker);
  EXPECT_EQ(DecodeAll(InsertBefore(b, sos, {0xFF, 0xC8})), image::kJpegErrUnexpectedMarker);
  EXPECT_EQ(DecodeAll(InsertBefore(b, sos, {0xFF, 0xD3})), image::kJpegErrUnexpectedMarker);
  EXPECT_EQ(DecodeAll(InsertBefore(b, sos, {0xFF, 0xD9})), image::kJpegErrUnexpectedMarker);
  // A comment and fill bytes are passed over.
  EXPECT_EQ(DecodeAll(InsertBefore(b, sos, {0xFF, 0xFF, 0xFF, 0xFE, 0x00, 0x04, 'h', 'i'})), 0);
  // Headers cut short.
  EXPECT_EQ(DecodeAll(Bytes(b.begin(), b.begin() + static_cast<ptrdiff_t>(sos))), image::kJpegErrUnexpectedMarker);
  EXPECT_EQ(DecodeAll(Bytes(b.begin(), b.begin() + static_cast<ptrdiff_t>(sos) + 5)),
            image::kJpegErrUnexpectedMarker);
  // A second frame header.
  size_t sof = Find(b, 0xC0);
  Bytes frame(b.begin() + static_cast<ptrdiff_t>(sof), b.begin() + static_cast<ptrdiff_t>(SegmentEnd(b, sof)));
  EXPECT_EQ(DecodeAll(InsertBefore(b, sos, frame)), image::kJpegErrUnexpectedMarker);
}

TEST(JpegErrors, ScanHeaders) {
  Bytes b = Good();
  size_t sos = Find(b, 0xDA);
  // The good scan header: 3 components (ids 1, 2, 3), tables 0/0, 1/1, 1/1.
  auto scan = [&](Bytes payload) {
    Bytes c = b;
    size_t end = sos + 2 + (size_t{c[sos + 2]} << 8 | c[sos + 3]);
    c.erase(c.begin() + static_cast<ptrdiff_t>(sos), c.begin() + static_cast<ptrdiff_t>(end));
    return DecodeAll(InsertBefore(c, sos, Segment(0xDA, payload)));
  };
  EXPECT_EQ(scan({3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}), 0);
  EXPECT_EQ(scan({3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63}), image::kJpegErrScanHeader);
  EXPECT_EQ(scan({0, 0, 63, 0}), image::kJpegErrScanHeader);
  EXPECT_EQ(scan({5, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 0, 63, 0}), image::kJpegErrScanHeader);
  EXPECT_EQ(scan({1, 1, 0x00, 0, 63, 0}), image::kJpegErrScanHeader);  // one component of three
  EXPECT_EQ(scan({3, 1, 0x00, 2, 0x11, 9, 0x11, 0, 63, 0}), image::kJpegErrScanComponent);
  EXPECT_EQ(scan({3, 1, 0x00, 2, 0x11, 2, 0x11, 0, 63, 0}), image::kJpegErrScanComponent);
  EXPECT_EQ(scan({3, 1, 0x03, 2, 0x11, 3, 0x11, 0, 63, 0}), image::kJpegErrMissingTable);
  EXPECT_EQ(scan({3, 1, 0x20, 2, 0x11, 3, 0x11, 0, 63, 0}), image::kJpegErrMissingTable);

  size_t sof = Find(b, 0xC0);
  Bytes noQuant = b;
  noQuant[sof + 12] = 3;  // luma's quantisation table
  EXPECT_EQ(DecodeAll(noQuant), image::kJpegErrMissingTable);

  Bytes noFrame = b;
  noFrame.erase(noFrame.begin() + static_cast<ptrdiff_t>(sof),
                noFrame.begin() + static_cast<ptrdiff_t>(SegmentEnd(b, sof)));
  EXPECT_EQ(DecodeAll(noFrame), image::kJpegErrNoFrame);
}

TEST(JpegErrors, EntropyCodedData) {
  Bytes b = Good(64, 64);
  size_t sos = Find(b, 0xDA);
  size_t data = SegmentEnd(b, sos);

  // All one bits: no code of the standard tables is all ones.
  Bytes ones(b.begin(), b.begin() + static_cast<ptrdiff_t>(data));
  for (int i = 0; i < 200; ++i) ones.insert(ones.end(), {0xFF, 0x00});
  ones.insert(ones.end(), {0xFF, 0xD9});
  EXPECT_EQ(DecodeAll(ones), image::kJpegErrBadCode);

  // Cut in the middle of the data, with and without the end marker.
  size_t half = data + (b.size() - data) / 2;
  Bytes cut(b.begin(), b.begin() + static_cast<ptrdiff_t>(half));
  for (int level = 0; level <= 3; ++level) EXPECT_EQ(DecodeAll(cut, level), image::kJpegErrTruncated);
  cut.insert(cut.end(), {0xFF, 0xD9});
  EXPECT_EQ(DecodeAll(cut), image::kJpegErrTruncated);
  // A file that ends after its last block but without the end marker is whole.
  EXPECT_EQ(DecodeAll(Bytes(b.begin(), b.end() - 2)), 0);
}

// A grey square picture of `side` pixels with tables of its own: DC differences are
// all 0 (code "0"); AC codes are "0" for a run of 16 zeros, "10" for 2 zeros and a
// coefficient of size 1, "110" for the end of block and "111" for a coefficient of
// size 1. `bits` is the scan, padded with ones.
Bytes HandMade(const std::string& bits, uint16_t side = 8) {
  Bytes b = {0xFF, 0xD8};
  Bytes quant(65, 1);
  quant[0] = 0;
  auto hi = static_cast<uint8_t>(side >> 8), lo = static_cast<uint8_t>(side);
  Bytes sof = Segment(0xC0, {8, hi, lo, hi, lo, 1, 1, 0x11, 0});
  Bytes dc = {0x00, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00};
  Bytes ac = {0x10, 1, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x21, 0x00, 0x01};
  for (const Bytes& seg : {Segment(0xDB, quant), sof, Segment(0xC4, dc), Segment(0xC4, ac),
                           Segment(0xDA, {1, 1, 0x00, 0, 63, 0})}) {
    b.insert(b.end(), seg.begin(), seg.end());
  }
  std::string padded = bits + std::string((8 - bits.size() % 8) % 8, '1');
  for (size_t i = 0; i < padded.size(); i += 8) {
    auto byte = static_cast<uint8_t>(std::stoi(padded.substr(i, 8), nullptr, 2));
    b.push_back(byte);
    if (byte == 0xFF) b.push_back(0);
  }
  b.insert(b.end(), {0xFF, 0xD9});
  return b;
}

TEST(JpegErrors, RunsOfZerosPastTheLastCoefficient) {
  const std::string dc = "0", run16 = "0", run2 = "101", single = "1111", end = "110";
  // Three runs of 16 zeros reach position 49; five coefficients after runs of 2 end
  // the block at position 63 without an end of block.
  const std::string good[] = {dc + run16 + run16 + run16 + end,
                              dc + run16 + run16 + run16 + run2 + run2 + run2 + run2 + run2};
  // A fourth run of 16, or a run of 2 from position 62, goes past position 63.
  const std::string bad[] = {dc + run16 + run16 + run16 + run16 + end,
                             dc + run16 + run16 + run16 + single + run2 + run2 + run2 + run2 + run2};
  // One block, and 4096 blocks (the last one bad), which 1/8 passes over several
  // symbols at a time.
  for (int blocks : {1, 4096}) {
    uint16_t side = blocks == 1 ? 8 : 512;
    for (int level = 0; level <= 3; ++level) {
      SCOPED_TRACE(std::to_string(blocks) + " blocks, level " + std::to_string(level));
      for (int i = 0; i < 2; ++i) {
        std::string before;
        for (int n = 1; n < blocks; ++n) before += good[n % 2];
        EXPECT_EQ(DecodeAll(HandMade(before + good[i], side), level), 0);
        EXPECT_EQ(DecodeAll(HandMade(before + bad[i], side), level), image::kJpegErrBadCode);
      }
    }
  }
}

TEST(JpegErrors, RestartMarkers) {
  Bytes withRestarts = Good(64, 64, 1);
  EXPECT_EQ(DecodeAll(withRestarts), 0);
  // A restart interval whose markers never come.
  Bytes b = Good(64, 64);
  EXPECT_EQ(DecodeAll(InsertBefore(b, Find(b, 0xDA), {0xFF, 0xDD, 0x00, 0x04, 0x00, 0x01})),
            image::kJpegErrRestartMarker);
  // Replace the first restart marker with an end marker.
  Bytes broken = withRestarts;
  for (size_t i = SegmentEnd(broken, Find(broken, 0xDA)); i + 1 < broken.size(); ++i) {
    if (broken[i] == 0xFF && broken[i + 1] == 0xD0) {
      broken[i + 1] = 0xD9;
      break;
    }
  }
  EXPECT_EQ(DecodeAll(broken), image::kJpegErrRestartMarker);
}

TEST(JpegErrors, HugeClaimFailsBeforeAllocating) {
  Bytes b = Good();
  size_t sof = Find(b, 0xC0);
  b[sof + 5] = b[sof + 6] = b[sof + 7] = b[sof + 8] = 0xFF;
  for (int level = 0; level <= 3; ++level) EXPECT_EQ(DecodeAll(b, level), image::kJpegErrTooLarge);
}

}  // namespace
