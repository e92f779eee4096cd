#include "image/ImageInformation.h"

#include "image/JpegDecoder.h"
#include "image/JpegErrors.h"
#include "image/JpegFileSource.h"

namespace image {

namespace {

// The bytes of a file from its start, read a block at a time.
class ByteReader {
 public:
  explicit ByteReader(platform::File& file) : file_(file) {}

  bool Next(uint8_t& byte) {
    if (pos_ == len_) {
      pos_ = 0;
      if (file_.Read(buffer_, sizeof buffer_, len_) != 0 || len_ == 0) return false;
    }
    byte = buffer_[pos_++];
    return true;
  }
  bool Skip(uint32_t count) {
    for (uint8_t ignored = 0; count > 0; --count) {
      if (!Next(ignored)) return false;
    }
    return true;
  }

 private:
  platform::File& file_;
  uint8_t buffer_[16384];
  uint32_t pos_ = 0;
  uint32_t len_ = 0;
};

constexpr uint8_t kMarkerStart = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kFirstRestart = 0xD0;
constexpr uint8_t kLastRestart = 0xD7;
constexpr uint8_t kTemporary = 0x01;

// Walks the marker segments and the entropy-coded data of every scan up to the
// end-of-image marker.
bool EndsInEndOfImage(platform::File& file) {
  if (file.Seek(0) != 0) return false;
  ByteReader in(file);
  uint8_t first = 0, second = 0;
  if (!in.Next(first) || !in.Next(second) || first != kMarkerStart || second != kStartOfImage) return false;
  bool inScan = false;
  for (;;) {
    uint8_t byte = 0;
    if (!in.Next(byte)) return false;
    if (byte != kMarkerStart) {
      if (inScan) continue;
      return false;
    }
    uint8_t marker = kMarkerStart;
    while (marker == kMarkerStart) {
      if (!in.Next(marker)) return false;
    }
    if (marker == 0x00) {
      if (inScan) continue;  // a stuffed 0xFF data byte
      return false;
    }
    if (marker == kEndOfImage) return true;
    if ((marker >= kFirstRestart && marker <= kLastRestart) || marker == kTemporary) continue;
    uint8_t high = 0, low = 0;
    if (!in.Next(high) || !in.Next(low)) return false;
    const uint32_t length = static_cast<uint32_t>(high) << 8 | low;
    if (length < 2 || !in.Skip(length - 2)) return false;
    inScan = marker == kStartOfScan;
  }
}

}  // namespace

int32_t ReadImageInformation(platform::File& file, ImageInformation& info) {
  info = ImageInformation{};
  JpegFileSource source(file);
  JpegDecoder decoder(source);
  int32_t rc = decoder.ReadHeaders();
  const JpegHeader& h = decoder.Header();
  if (h.frameMarker != 0) {
    info.width = h.width;
    info.height = h.height;
  }
  info.hasExifThumbnail = h.exif.hasThumbnail;
  info.captureDate = h.exif.captureDate;
  info.description = h.exif.description;
  return rc;
}

bool IsJpegPhoto(platform::File& file) {
  JpegFileSource source(file);
  JpegDecoder decoder(source);
  const int32_t rc = decoder.ReadHeaders();
  const JpegHeader& h = decoder.Header();
  if (h.frameMarker == 0 || h.width == 0 || h.height == 0) return false;
  return rc == kJpegOk || (rc == kJpegErrProgressive && h.progressive);
}

bool IsWholeJpeg(platform::File& file) { return IsJpegPhoto(file) && EndsInEndOfImage(file); }

}  // namespace image
