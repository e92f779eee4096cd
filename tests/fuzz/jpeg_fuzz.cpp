// Decoder fuzz target: headers, the scan at one reduction level, and the drawing path
// (EXIF thumbnail, reduction choice, scaling and cropping) on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/JpegDecoder.h"
#include "image/JpegDrawer.h"
#include "image/JpegMemorySource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    image::JpegMemorySource source(data, size);
    image::JpegDecoder decoder(source);
    if (decoder.ReadHeaders() == 0) {
      image::Bitmap bitmap;
      int level = size > 0 ? data[size - 1] & 3 : 0;
      decoder.Decode(level, bitmap);
    }
  }
  {
    image::JpegMemorySource source(data, size);
    image::Rect target{0, 0, 96, 96};
    std::unique_ptr<image::Bitmap> bitmap;
    image::DecodeJpegToBitmap(source, target, image::kDrawFill | image::kDrawKeepBitmap, bitmap);
  }
  {
    image::JpegMemorySource source(data, size);
    image::Rect target{3, 4, 163, 124};
    std::unique_ptr<image::Bitmap> bitmap;
    image::DecodeJpegToBitmap(source, target, image::kDrawNoVerticalCentre | image::kDrawKeepBitmap, bitmap);
  }
  return 0;
}
