#pragma once

#include <cstddef>
#include <cstdint>

#include "image/Avx2.h"

namespace image {

// ColourConverter's conversions with AVX2, 8 or 16 pixels at a time, the chroma terms
// worked out once for each 2 x 2, 2 x 1 or 1 x 2 group that shares them. Same
// arguments (those of JpegKernels::Convert) and the same pixels as ColourConverter.
class ColourConverterAvx2 {
 public:
  TESSARY_AVX2 static void Grey(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride,
                                uint16_t* out, ptrdiff_t outStride, int w, int h);
  TESSARY_AVX2 static void Ycc11(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride,
                                 uint16_t* out, ptrdiff_t outStride, int w, int h);
  TESSARY_AVX2 static void Ycc21(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride,
                                 uint16_t* out, ptrdiff_t outStride, int w, int h);
  TESSARY_AVX2 static void Ycc12(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride,
                                 uint16_t* out, ptrdiff_t outStride, int w, int h);
  TESSARY_AVX2 static void Ycc22(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride,
                                 uint16_t* out, ptrdiff_t outStride, int w, int h);
};

}  // namespace image
