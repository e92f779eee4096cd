#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace image {

// A rectangle in device pixels; right and bottom are exclusive.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// A top-down 16-bit bitmap with the bit fields red 0xF800, green 0x07E0, blue 0x001F.
// Rows are padded to a multiple of 4 bytes, like a device-independent bitmap.
class Bitmap {
 public:
  // The most pixels a bitmap may hold (2 bytes each): 128 Mi pixels, 256 MiB.
  static constexpr uint64_t kMaxPixels = uint64_t{1} << 27;

  // Makes a bitmap of width x height, filled with black. Answers 0, or the platform's
  // code 8 when the size is 0, beyond kMaxPixels, or memory is short.
  int32_t Allocate(uint32_t width, uint32_t height);

  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  uint32_t Stride() const { return stride_; }  // pixels per row, padding included
  uint16_t* Row(uint32_t y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  const uint16_t* Row(uint32_t y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  uint16_t Pixel(uint32_t x, uint32_t y) const { return Row(y)[x]; }

 private:
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  uint32_t stride_ = 0;
  std::vector<uint16_t> pixels_;
};

}  // namespace image
