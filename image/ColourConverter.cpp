#include "image/ColourConverter.h"

#include <algorithm>

namespace image {

namespace {

constexpr int kScaleBits = 16;
constexpr int32_t kHalf = 1 << (kScaleBits - 1);
constexpr int32_t Fix(double x) { return static_cast<int32_t>(x * (1 << kScaleBits) + 0.5); }

}  // namespace

const ColourConverter& ColourConverter::Instance() {
  static const ColourConverter converter;
  return converter;
}

ColourConverter::ColourConverter() {
  for (int i = 0; i < kClampSize; ++i) {
    int v = std::clamp(i - kBias, 0, 255);
    redStore_[i] = static_cast<uint16_t>((v & 0xF8) << 8);
    greenStore_[i] = static_cast<uint16_t>((v & 0xFC) << 3);
    blueStore_[i] = static_cast<uint16_t>(v >> 3);
  }
  for (int i = 0; i < 256; ++i) {
    int32_t x = i - 128;
    crRed_[i] = (Fix(1.40200) * x + kHalf) >> kScaleBits;
    cbBlue_[i] = (Fix(1.77200) * x + kHalf) >> kScaleBits;
    cbGreen_[i] = -Fix(0.34414) * x;
    crGreen_[i] = -Fix(0.71414) * x + kHalf;
    grey_[i] = static_cast<uint16_t>((i >> 3) << 11 | (i >> 2) << 5 | (i >> 3));
  }
}

void ColourConverter::Grey(const uint8_t* y, int yStride, uint16_t* out, ptrdiff_t outStride, int w,
                           int h) const {
  for (int r = 0; r < h; ++r, y += yStride, out += outStride) {
    for (int x = 0; x < w; ++x) out[x] = grey_[y[x]];
  }
}

template <int H, int V>
void ColourConverter::Ycc(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride,
                          uint16_t* out, ptrdiff_t outStride, int w, int h) const {
  for (int r = 0; r < h; ++r, y += yStride, out += outStride) {
    const uint8_t* cbRow = cb + (r / V) * cStride;
    const uint8_t* crRow = cr + (r / V) * cStride;
    for (int x = 0; x < w; ++x) out[x] = YccPixel(y[x], cbRow[x / H], crRow[x / H]);
  }
}

template void ColourConverter::Ycc<1, 1>(const uint8_t*, int, const uint8_t*, const uint8_t*, int, uint16_t*,
                                         ptrdiff_t, int, int) const;
template void ColourConverter::Ycc<2, 1>(const uint8_t*, int, const uint8_t*, const uint8_t*, int, uint16_t*,
                                         ptrdiff_t, int, int) const;
template void ColourConverter::Ycc<1, 2>(const uint8_t*, int, const uint8_t*, const uint8_t*, int, uint16_t*,
                                         ptrdiff_t, int, int) const;
template void ColourConverter::Ycc<2, 2>(const uint8_t*, int, const uint8_t*, const uint8_t*, int, uint16_t*,
                                         ptrdiff_t, int, int) const;

}  // namespace image
