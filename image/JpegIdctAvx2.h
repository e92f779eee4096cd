#pragma once

#include <cstdint>

#include "image/Avx2.h"

namespace image {

// JpegIdct's transforms with AVX2: each pass over all columns or rows at once in
// 32-bit lanes. Where a block's values could overflow those lanes it goes to the
// scalar transform, so the samples are always the same. They leave the coefficients
// zero.
class JpegIdctAvx2 {
 public:
  TESSARY_AVX2 static void Full(int16_t* coef, const int32_t* quant, uint8_t* out, int stride);
  TESSARY_AVX2 static void Half(int16_t* coef, const int32_t* quant, uint8_t* out, int stride);
  TESSARY_AVX2 static void Quarter(int16_t* coef, const int32_t* quant, uint8_t* out, int stride);
};

}  // namespace image
