#pragma once

#include <cstdint>

namespace image {

// Integer inverse DCTs of one 8 x 8 block of quantised coefficients (natural order),
// dequantised by `quant` (natural order) on the way in, into 8-bit samples, at full
// size and at 1/2, 1/4 and 1/8. A reduced output sample is the mean of the full-size
// samples it stands for, computed directly from the coefficients that mean depends on.
class JpegIdct {
 public:
  // 8 x 8
  static void Full(const int16_t* coef, const int32_t* quant, uint8_t* out, int stride);
  // 4 x 4; ignores row and column 4
  static void Half(const int16_t* coef, const int32_t* quant, uint8_t* out, int stride);
  // 2 x 2; uses rows and columns 0, 1, 3, 5, 7
  static void Quarter(const int16_t* coef, const int32_t* quant, uint8_t* out, int stride);
  // The sample of a block whose AC coefficients are all zero (also the 1/8 output),
  // from its dequantised DC coefficient.
  static uint8_t DcSample(int32_t dc);
  static void FillDc(int32_t dc, uint8_t* out, int stride, int size);
};

}  // namespace image
