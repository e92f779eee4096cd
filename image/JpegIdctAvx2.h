#pragma once

#include <cstdint>

#include "image/Avx2.h"

namespace image {

// JpegIdct::Full with AVX2: both passes over all 8 columns or rows at once in 32-bit
// lanes. Where a block's values could overflow those lanes it hands the block to
// JpegIdct::Full, so the samples are always the same. Leaves the coefficients zero.
class JpegIdctAvx2 {
 public:
  TESSARY_AVX2 static void Full(int16_t* coef, const int32_t* quant, uint8_t* out, int stride);
};

}  // namespace image
