#include "image/Bitmap.h"

#include <new>

#include "platform/ErrorCodes.h"

namespace image {

int32_t Bitmap::Allocate(uint32_t width, uint32_t height) {
  uint32_t stride = (width + 1) & ~1u;
  if (width == 0 || height == 0 || uint64_t{stride} * height > kMaxPixels) {
    return static_cast<int32_t>(platform::kErrNotEnoughMemory);
  }
  try {
    pixels_.assign(static_cast<size_t>(stride) * height, 0);
  } catch (const std::bad_alloc&) {
    pixels_ = {};
    width_ = height_ = stride_ = 0;
    return static_cast<int32_t>(platform::kErrNotEnoughMemory);
  }
  width_ = width;
  height_ = height;
  stride_ = stride;
  return 0;
}

}  // namespace image
