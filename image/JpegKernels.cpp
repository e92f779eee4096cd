#include "image/JpegKernels.h"

#include <cstring>

#include "image/Avx2.h"
#include "image/ColourConverter.h"
#include "image/ColourConverterAvx2.h"
#include "image/JpegIdct.h"
#include "image/JpegIdctAvx2.h"

namespace image {

namespace {

template <void (*kTransform)(const int16_t*, const int32_t*, uint8_t*, int)>
void Transform(int16_t* coef, const int32_t* quant, uint8_t* out, int stride) {
  kTransform(coef, quant, out, stride);
  std::memset(coef, 0, 64 * sizeof(coef[0]));
}

void Grey(const uint8_t* y, int yStride, const uint8_t*, const uint8_t*, int, uint16_t* out, ptrdiff_t outStride, int w,
          int h) {
  ColourConverter::Instance().Grey(y, yStride, out, outStride, w, h);
}

template <int H, int V>
void Ycc(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride, uint16_t* out,
         ptrdiff_t outStride, int w, int h) {
  ColourConverter::Instance().Ycc<H, V>(y, yStride, cb, cr, cStride, out, outStride, w, h);
}

constexpr JpegKernels kPortable = {
    Transform<JpegIdct::Full>,
    Transform<JpegIdct::Half>,
    Transform<JpegIdct::Quarter>,
    Grey,
    Ycc<1, 1>,
    Ycc<2, 1>,
    Ycc<1, 2>,
    Ycc<2, 2>,
};

#if TESSARY_HAS_AVX2
constexpr JpegKernels kAvx2 = {
    JpegIdctAvx2::Full,
    JpegIdctAvx2::Half,
    JpegIdctAvx2::Quarter,
    ColourConverterAvx2::Grey,
    ColourConverterAvx2::Ycc11,
    ColourConverterAvx2::Ycc21,
    ColourConverterAvx2::Ycc12,
    ColourConverterAvx2::Ycc22,
};
#endif

}  // namespace

const JpegKernels& JpegKernels::Best() {
#if TESSARY_HAS_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2") != 0;
  if (avx2) return kAvx2;
#endif
  return kPortable;
}

const JpegKernels& JpegKernels::Portable() { return kPortable; }

}  // namespace image
