#include "image/JpegDrawer.h"

#include <algorithm>
#include <optional>

#include "image/JpegDecoder.h"
#include "image/JpegErrors.h"
#include "image/Scaler.h"
#include "platform/ErrorCodes.h"

namespace image {

namespace {

// Targets up to this size in both directions are drawn from the EXIF thumbnail.
constexpr int32_t kExifThumbnailTarget = 160;
// Larger targets are refused, which keeps every scaled size within 32 bits.
constexpr int32_t kMaxTarget = 65535;

int ChooseLevel(uint32_t w, uint32_t h, uint32_t tw, uint32_t th) {
  int level = JpegDecoder::kMaxLevel;
  for (int l = 0; l <= JpegDecoder::kMaxLevel; ++l) {
    if (JpegDecoder::ReducedSize(w, l) <= tw && JpegDecoder::ReducedSize(h, l) <= th) {
      level = l;
      break;
    }
  }
  // A picture smaller than the target in both directions is decoded one level larger
  // and scaled down, rather than enlarged.
  if (level > 0 && JpegDecoder::ReducedSize(w, level) < tw && JpegDecoder::ReducedSize(h, level) < th) --level;
  return level;
}

uint32_t Scaled(uint32_t size, uint64_t ratio) {
  return static_cast<uint32_t>(std::max<uint64_t>(1, (size * ratio + 0x8000) >> 16));
}

}  // namespace

int32_t DecodeJpegToBitmap(JpegSource& source, Rect& target, uint32_t options, std::unique_ptr<Bitmap>& bitmap) {
  bitmap.reset();
  if (target.Width() <= 0 || target.Height() <= 0 || target.Width() > kMaxTarget || target.Height() > kMaxTarget) {
    return static_cast<int32_t>(platform::kErrInvalidParameter);
  }
  uint32_t tw = static_cast<uint32_t>(target.Width());
  uint32_t th = static_cast<uint32_t>(target.Height());

  JpegDecoder main(source);
  if (int32_t rc = main.ReadHeaders(); rc != 0) return rc;
  if (main.Header().width + main.Header().height == 0) return static_cast<int32_t>(platform::kErrFileNotFound);

  // The EXIF thumbnail stands in for the picture in small targets. Its own header
  // gives its size; when it cannot be read the main picture is used after all.
  JpegDecoder* chosen = &main;
  std::optional<JpegDecoder> thumbnail;
  const ExifData& exif = main.Header().exif;
  if (exif.hasThumbnail && target.Width() <= kExifThumbnailTarget && target.Height() <= kExifThumbnailTarget) {
    uint64_t offset = exif.thumbnailOffset;
    thumbnail.emplace(source);
    if (thumbnail->ReadHeaders(offset) == 0 && thumbnail->Header().width != 0 && thumbnail->Header().height != 0) {
      chosen = &*thumbnail;
    } else if (int32_t rc = main.ReadHeaders(); rc != 0) {
      return rc;
    }
  }
  const JpegHeader& h = chosen->Header();
  if (h.width == 0 || h.height == 0) return kJpegErrEmptyFrame;

  int level = ChooseLevel(h.width, h.height, tw, th);
  uint32_t rw = JpegDecoder::ReducedSize(h.width, level);
  uint32_t rh = JpegDecoder::ReducedSize(h.height, level);
  bool fill = (options & kDrawFill) != 0;
  uint32_t outW = h.width;
  uint32_t outH = h.height;
  if ((options & kDrawNaturalSize) == 0) {
    uint64_t rx = (uint64_t{tw} << 16) / rw;
    uint64_t ry = (uint64_t{th} << 16) / rh;
    uint64_t ratio = fill ? std::max(rx, ry) : std::min(rx, ry);
    outW = Scaled(rw, ratio);
    outH = Scaled(rh, ratio);
  }

  Rect area;
  Rect window{0, 0, static_cast<int32_t>(std::min<uint64_t>(outW, INT32_MAX)),
              static_cast<int32_t>(std::min<uint64_t>(outH, INT32_MAX))};
  if (fill) {
    // Cropped to the target: the horizontal centre, from the top edge.
    window.left = static_cast<int32_t>(outW / 2) - static_cast<int32_t>(tw / 2);
    window.right = window.left + static_cast<int32_t>(tw);
    window.bottom = static_cast<int32_t>(th);
    area = target;
  } else {
    area.left = target.left + (static_cast<int32_t>(tw) - window.Width()) / 2;
    area.top = target.top;
    if ((options & kDrawNoVerticalCentre) == 0) area.top += (static_cast<int32_t>(th) - window.Height()) / 2;
    area.right = area.left + window.Width();
    area.bottom = area.top + window.Height();
  }

  auto decoded = std::make_unique<Bitmap>();
  if (int32_t rc = chosen->Decode(level, *decoded); rc != 0) return rc;
  if (rw == outW && rh == outH && !fill) {
    bitmap = std::move(decoded);
  } else {
    auto scaled = std::make_unique<Bitmap>();
    if (int32_t rc = Scaler::Scale(*decoded, outW, outH, window, *scaled); rc != 0) return rc;
    bitmap = std::move(scaled);
  }
  target = area;
  return 0;
}

int32_t DrawJpeg(JpegSource& source, ImageCanvas& canvas, Rect& target, uint32_t options) {
  std::unique_ptr<Bitmap> bitmap;
  if (int32_t rc = DecodeJpegToBitmap(source, target, options, bitmap); rc != 0) return rc;
  canvas.DrawBitmap(*bitmap, target);
  return 0;
}

}  // namespace image
