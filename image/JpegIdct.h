#pragma once

#include <cstdint>

namespace image {

// Integer inverse DCTs of one 8 x 8 block of dequantised coefficients (natural
// order) into 8-bit samples, at full size and at 1/2, 1/4 and 1/8. A reduced output
// sample is the mean of the full-size samples it stands for, computed directly from
// the coefficients that mean depends on.
class JpegIdct {
 public:
  static void Full(const int32_t* coef, uint8_t* out, int stride);     // 8 x 8
  static void Half(const int32_t* coef, uint8_t* out, int stride);     // 4 x 4; ignores row and column 4
  static void Quarter(const int32_t* coef, uint8_t* out, int stride);  // 2 x 2; uses rows and columns 0, 1, 3, 5, 7
  // The sample of a block whose AC coefficients are all zero (also the 1/8 output).
  static uint8_t DcSample(int32_t dc);
  static void FillDc(int32_t dc, uint8_t* out, int stride, int size);
};

}  // namespace image
