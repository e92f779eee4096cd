#include "image/ExifReader.h"

#include <array>
#include <string_view>

namespace image {

namespace {

constexpr uint16_t kTagCompression = 259;
constexpr uint16_t kTagDescription = 270;
constexpr uint16_t kTagMake = 271;
constexpr uint16_t kTagModel = 272;
constexpr uint16_t kTagThumbnailOffset = 513;
constexpr uint16_t kTagThumbnailLength = 514;
constexpr uint16_t kTagExifIfd = 34665;
constexpr uint16_t kTagCaptureDate = 36867;
constexpr uint16_t kTagUserComment = 37510;

constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;

constexpr size_t kMaxDate = 19;
constexpr size_t kMaxText = 199;
// Bounds the walk of a hostile chain of IFDs that point at each other.
constexpr int kMaxIfds = 8;

class TiffBlock {
 public:
  TiffBlock(const uint8_t* data, size_t len) : data_(data), len_(len) {
    bigEndian_ = len >= 2 && data[0] == 'M' && data[1] == 'M';
  }

  bool Has(uint64_t offset, uint64_t count) const { return offset <= len_ && count <= len_ - offset; }
  uint16_t U16(size_t at) const {
    return bigEndian_ ? static_cast<uint16_t>(data_[at] << 8 | data_[at + 1])
                      : static_cast<uint16_t>(data_[at + 1] << 8 | data_[at]);
  }
  uint32_t U32(size_t at) const {
    return bigEndian_ ? (uint32_t{U16(at)} << 16 | U16(at + 2)) : (uint32_t{U16(at + 2)} << 16 | U16(at));
  }
  const uint8_t* Data() const { return data_; }

 private:
  const uint8_t* data_;
  size_t len_;
  bool bigEndian_ = false;
};

// The number in a SHORT or LONG entry; 0 for other types.
uint32_t EntryNumber(const TiffBlock& tiff, size_t entry) {
  uint16_t type = tiff.U16(entry + 2);
  if (type == kTypeShort) return tiff.U16(entry + 8);
  if (type == kTypeLong) return tiff.U32(entry + 8);
  return 0;
}

// A text entry, kept only when its bytes lie outside the entry (more than 4) and
// inside the block; it ends at its first NUL and is cut at `limit` characters.
bool EntryText(const TiffBlock& tiff, size_t entry, size_t limit, std::string& out) {
  uint32_t count = tiff.U32(entry + 4);
  uint32_t offset = tiff.U32(entry + 8);
  if (count <= 4 || !tiff.Has(offset, count)) return false;
  std::string_view text(reinterpret_cast<const char*>(tiff.Data()) + offset, count);
  text = text.substr(0, text.find('\0'));
  out.assign(text.substr(0, limit));
  return true;
}

// A user comment starts with an 8-byte character-code field.
void UserComment(const TiffBlock& tiff, size_t entry, std::string& out) {
  uint32_t count = tiff.U32(entry + 4);
  uint32_t offset = tiff.U32(entry + 8);
  if (count <= 8 || !tiff.Has(offset, count)) return;
  std::string_view text(reinterpret_cast<const char*>(tiff.Data()) + offset + 8, count - 8);
  text = text.substr(0, text.find('\0'));
  out.assign(text.substr(0, kMaxText));
}

}  // namespace

void ExifReader::Parse(const uint8_t* data, size_t len, uint64_t tiffOffset, ExifData& out) {
  out = ExifData{};
  TiffBlock tiff(data, len);
  if (len < 8) return;

  std::array<uint32_t, kMaxIfds> pending{};
  std::array<uint32_t, kMaxIfds> visited{};
  int pendingCount = 0;
  int visitedCount = 0;
  pending[pendingCount++] = tiff.U32(4);
  uint32_t thumbOffset = 0;
  uint32_t thumbLength = 0;
  bool compressionSeen = false;

  while (pendingCount > 0 && visitedCount < kMaxIfds) {
    uint32_t ifd = pending[--pendingCount];
    bool seen = false;
    for (int i = 0; i < visitedCount; ++i) seen = seen || visited[i] == ifd;
    if (seen || !tiff.Has(ifd, 2)) continue;
    visited[visitedCount++] = ifd;

    uint32_t count = tiff.U16(ifd);
    if (!tiff.Has(ifd + 2, uint64_t{count} * 12)) count = static_cast<uint32_t>((len - ifd - 2) / 12);
    for (uint32_t i = 0; i < count; ++i) {
      size_t entry = ifd + 2 + size_t{i} * 12;
      switch (tiff.U16(entry)) {
        case kTagCompression:
          out.compression = static_cast<uint16_t>(EntryNumber(tiff, entry));
          compressionSeen = true;
          break;
        case kTagThumbnailOffset: thumbOffset = EntryNumber(tiff, entry); break;
        case kTagThumbnailLength: thumbLength = EntryNumber(tiff, entry); break;
        case kTagDescription: EntryText(tiff, entry, kMaxText, out.description); break;
        case kTagMake: EntryText(tiff, entry, kMaxText, out.make); break;
        case kTagModel: EntryText(tiff, entry, kMaxText, out.model); break;
        case kTagCaptureDate: EntryText(tiff, entry, kMaxDate, out.captureDate); break;
        case kTagUserComment: UserComment(tiff, entry, out.userComment); break;
        case kTagExifIfd: {
          uint32_t sub = EntryNumber(tiff, entry);
          if (sub < len && pendingCount < kMaxIfds) pending[pendingCount++] = sub;
          break;
        }
        default: break;
      }
    }
    size_t next = ifd + 2 + size_t{count} * 12;
    if (tiff.Has(next, 4)) {
      uint32_t nextIfd = tiff.U32(next);
      if (nextIfd != 0 && nextIfd < len && pendingCount < kMaxIfds) pending[pendingCount++] = nextIfd;
    }
  }

  bool jpegThumbnail = !compressionSeen || out.compression == 6;
  if (jpegThumbnail && thumbLength > 0 && thumbOffset > 0 && tiff.Has(thumbOffset, thumbLength)) {
    out.hasThumbnail = true;
    out.thumbnailOffset = tiffOffset + thumbOffset;
    out.thumbnailLength = thumbLength;
  }
}

}  // namespace image
