#pragma once

#include <cstddef>
#include <cstdint>

namespace image {

// Turns decoded samples straight into RGB565 pixels: grey, or YCbCr by the JFIF
// equations in 16.16 fixed point, with integer tables and clamping tables that give
// each channel already shifted into its 5-6-5 place.
class ColourConverter {
 public:
  static const ColourConverter& Instance();

  uint16_t GreyPixel(uint8_t y) const { return grey_[y]; }
  uint16_t YccPixel(int y, int cb, int cr) const {
    return static_cast<uint16_t>(red_[y + crRed_[cr]] | green_[y + ((cbGreen_[cb] + crGreen_[cr]) >> 16)] |
                                 blue_[y + cbBlue_[cb]]);
  }

  // Converts a w x h area of grey samples.
  void Grey(const uint8_t* y, int yStride, uint16_t* out, ptrdiff_t outStride, int w, int h) const;
  // Converts a w x h area whose chroma planes are sampled 1/H across and 1/V down.
  template <int H, int V>
  void Ycc(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride, uint16_t* out,
           ptrdiff_t outStride, int w, int h) const;

 private:
  ColourConverter();

  // Clamping tables are indexed by value + kBias; values stay within -227 ... 482.
  static constexpr int kBias = 256;
  static constexpr int kClampSize = 1024;
  uint16_t redStore_[kClampSize];
  uint16_t greenStore_[kClampSize];
  uint16_t blueStore_[kClampSize];
  const uint16_t* red_ = redStore_ + kBias;
  const uint16_t* green_ = greenStore_ + kBias;
  const uint16_t* blue_ = blueStore_ + kBias;
  int32_t crRed_[256];
  int32_t cbBlue_[256];
  int32_t cbGreen_[256];
  int32_t crGreen_[256];
  uint16_t grey_[256];
};

}  // namespace image
