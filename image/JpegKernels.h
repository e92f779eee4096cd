#pragma once

#include <cstddef>
#include <cstdint>

namespace image {

// The decoder's inner loops that have vector versions: the inverse transforms and the
// colour conversion of an MCU. `Best()` picks the fastest set the
// processor runs; `Portable()` is plain C++ for any processor. Both give the same
// bytes for every input.
struct JpegKernels {
  // 64 quantised coefficients and their table, both in natural order, to 8 x 8, 4 x 4
  // or 2 x 2 samples (see JpegIdct); leaves the coefficients zero for the next block.
  using Transform = void (*)(int16_t* coef, const int32_t* quant, uint8_t* out, int stride);
  // A w x h area of samples to RGB565; grey ignores the chroma planes.
  using Convert = void (*)(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride,
                           uint16_t* out, ptrdiff_t outStride, int w, int h);

  Transform full;
  Transform half;
  Transform quarter;
  Convert grey;
  Convert ycc11;  // chroma at full resolution
  Convert ycc21;  // chroma halved across
  Convert ycc12;  // chroma halved down
  Convert ycc22;  // chroma halved both ways

  static const JpegKernels& Best();
  static const JpegKernels& Portable();
};

}  // namespace image
