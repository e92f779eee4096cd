#include "image/ColourConverterAvx2.h"

#if TESSARY_HAS_AVX2

#include <immintrin.h>

#include "image/ColourConverter.h"

namespace image {

namespace {

// The fixed-point factors of ColourConverter's tables, which these computations
// reproduce exactly: red (91881 x + 2^15) >> 16, blue (116130 x + 2^15) >> 16, green
// (-22554 xb - 46802 xr + 2^15) >> 16, with x the chroma sample minus 128.
constexpr int32_t kCrRed = 91881;
constexpr int32_t kCbBlue = 116130;
constexpr int32_t kCbGreen = -22554;
constexpr int32_t kCrGreen = -46802;

// What each channel adds to the luma sample, in 16-bit lanes.
struct Terms {
  __m256i red;
  __m256i green;
  __m256i blue;
};

// The terms of 8 chroma sample pairs, in 32-bit lanes.
struct Terms32 {
  __m256i red;
  __m256i green;
  __m256i blue;
};

TESSARY_AVX2 inline Terms32 Chroma8(const uint8_t* cb, const uint8_t* cr) {
  const __m256i centre = _mm256_set1_epi32(128);
  const __m256i half = _mm256_set1_epi32(1 << 15);
  __m256i b = _mm256_sub_epi32(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb))), centre);
  __m256i r = _mm256_sub_epi32(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr))), centre);
  Terms32 t;
  t.red = _mm256_srai_epi32(_mm256_add_epi32(_mm256_mullo_epi32(r, _mm256_set1_epi32(kCrRed)), half), 16);
  t.blue = _mm256_srai_epi32(_mm256_add_epi32(_mm256_mullo_epi32(b, _mm256_set1_epi32(kCbBlue)), half), 16);
  __m256i g = _mm256_add_epi32(_mm256_mullo_epi32(b, _mm256_set1_epi32(kCbGreen)),
                               _mm256_mullo_epi32(r, _mm256_set1_epi32(kCrGreen)));
  t.green = _mm256_srai_epi32(_mm256_add_epi32(g, half), 16);
  return t;
}

// Packing a vector with itself gives t0-t3 t0-t3 | t4-t7 t4-t7; unpacking the low
// words of each half with themselves then gives t0 t0 t1 t1 ... t7 t7.
TESSARY_AVX2 inline __m256i Twice(__m256i v) {
  __m256i p = _mm256_packs_epi32(v, v);
  return _mm256_unpacklo_epi16(p, p);
}

// The pack interleaves halves: a0-3 b0-3 | a4-7 b4-7; the permute restores a | b.
TESSARY_AVX2 inline __m256i Join(__m256i a, __m256i b) {
  return _mm256_permute4x64_epi64(_mm256_packs_epi32(a, b), 0xD8);
}

// 8 chroma pairs, each used by two neighbouring pixels: 16 lanes.
TESSARY_AVX2 inline Terms Doubled(const uint8_t* cb, const uint8_t* cr) {
  Terms32 t = Chroma8(cb, cr);
  return {Twice(t.red), Twice(t.green), Twice(t.blue)};
}

// Two rows of 8 chroma pairs, one for each half of 16 lanes.
TESSARY_AVX2 inline Terms TwoRows(const uint8_t* cb0, const uint8_t* cr0, const uint8_t* cb1, const uint8_t* cr1) {
  Terms32 a = Chroma8(cb0, cr0);
  Terms32 b = Chroma8(cb1, cr1);
  return {Join(a.red, b.red), Join(a.green, b.green), Join(a.blue, b.blue)};
}

// 16 luma samples with their terms to RGB565, clamping each channel to 0-255.
TESSARY_AVX2 inline __m256i Pixels(__m256i y, const Terms& t) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i top = _mm256_set1_epi16(255);
  __m256i r = _mm256_min_epi16(_mm256_max_epi16(_mm256_add_epi16(y, t.red), zero), top);
  __m256i g = _mm256_min_epi16(_mm256_max_epi16(_mm256_add_epi16(y, t.green), zero), top);
  __m256i b = _mm256_min_epi16(_mm256_max_epi16(_mm256_add_epi16(y, t.blue), zero), top);
  r = _mm256_slli_epi16(_mm256_and_si256(r, _mm256_set1_epi16(0xF8)), 8);
  g = _mm256_slli_epi16(_mm256_and_si256(g, _mm256_set1_epi16(0xFC)), 3);
  b = _mm256_srli_epi16(b, 3);
  return _mm256_or_si256(_mm256_or_si256(r, g), b);
}

TESSARY_AVX2 inline __m256i Luma16(const uint8_t* y) {
  return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(y)));
}

// Two rows of 8 luma samples, one for each half of 16 lanes.
TESSARY_AVX2 inline __m256i Luma8x2(const uint8_t* y0, const uint8_t* y1) {
  __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(y0));
  __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(y1));
  return _mm256_cvtepu8_epi16(_mm_unpacklo_epi64(a, b));
}

TESSARY_AVX2 inline void Store16(uint16_t* out, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), v); }

// Stores the low half in one row and, when there is one, the high half in the next.
TESSARY_AVX2 inline void Store8x2(uint16_t* out0, uint16_t* out1, __m256i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out0), _mm256_castsi256_si128(v));
  if (out1 != nullptr) _mm_storeu_si128(reinterpret_cast<__m128i*>(out1), _mm256_extracti128_si256(v, 1));
}

// Columns from `done` on are left to the scalar converter.
template <int H, int V>
void Rest(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr, int cStride, uint16_t* out,
          ptrdiff_t outStride, int w, int h, int done) {
  if (done >= w) return;
  ColourConverter::Instance().Ycc<H, V>(y + done, yStride, cb + done / H, cr + done / H, cStride, out + done, outStride,
                                        w - done, h);
}

}  // namespace

TESSARY_AVX2 void ColourConverterAvx2::Grey(const uint8_t* y, int yStride, const uint8_t*, const uint8_t*, int,
                                            uint16_t* out, ptrdiff_t outStride, int w, int h) {
  const Terms none = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256()};
  int done = w & ~7;
  for (int r = 0; r < h; r += 2) {
    bool pair = r + 1 < h;
    const uint8_t* y0 = y + r * yStride;
    const uint8_t* y1 = pair ? y0 + yStride : y0;
    uint16_t* o0 = out + r * outStride;
    for (int x = 0; x < done; x += 8) {
      Store8x2(o0 + x, pair ? o0 + outStride + x : nullptr, Pixels(Luma8x2(y0 + x, y1 + x), none));
    }
  }
  if (done < w) ColourConverter::Instance().Grey(y + done, yStride, out + done, outStride, w - done, h);
}

TESSARY_AVX2 void ColourConverterAvx2::Ycc11(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr,
                                             int cStride, uint16_t* out, ptrdiff_t outStride, int w, int h) {
  int done = w & ~7;
  for (int r = 0; r < h; r += 2) {
    int r1 = r + 1 < h ? r + 1 : r;
    uint16_t* o0 = out + r * outStride;
    for (int x = 0; x < done; x += 8) {
      Terms t = TwoRows(cb + r * cStride + x, cr + r * cStride + x, cb + r1 * cStride + x, cr + r1 * cStride + x);
      __m256i luma = Luma8x2(y + r * yStride + x, y + r1 * yStride + x);
      Store8x2(o0 + x, r1 != r ? o0 + outStride + x : nullptr, Pixels(luma, t));
    }
  }
  Rest<1, 1>(y, yStride, cb, cr, cStride, out, outStride, w, h, done);
}

TESSARY_AVX2 void ColourConverterAvx2::Ycc12(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr,
                                             int cStride, uint16_t* out, ptrdiff_t outStride, int w, int h) {
  int done = w & ~7;
  for (int r = 0; r < h; r += 2) {
    int r1 = r + 1 < h ? r + 1 : r;
    const uint8_t* cbRow = cb + (r / 2) * cStride;
    const uint8_t* crRow = cr + (r / 2) * cStride;
    uint16_t* o0 = out + r * outStride;
    for (int x = 0; x < done; x += 8) {
      Terms t = TwoRows(cbRow + x, crRow + x, cbRow + x, crRow + x);
      __m256i luma = Luma8x2(y + r * yStride + x, y + r1 * yStride + x);
      Store8x2(o0 + x, r1 != r ? o0 + outStride + x : nullptr, Pixels(luma, t));
    }
  }
  Rest<1, 2>(y, yStride, cb, cr, cStride, out, outStride, w, h, done);
}

TESSARY_AVX2 void ColourConverterAvx2::Ycc21(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr,
                                             int cStride, uint16_t* out, ptrdiff_t outStride, int w, int h) {
  int done = w & ~15;
  for (int r = 0; r < h; ++r) {
    for (int x = 0; x < done; x += 16) {
      Terms t = Doubled(cb + r * cStride + x / 2, cr + r * cStride + x / 2);
      Store16(out + r * outStride + x, Pixels(Luma16(y + r * yStride + x), t));
    }
  }
  Rest<2, 1>(y, yStride, cb, cr, cStride, out, outStride, w, h, done);
}

TESSARY_AVX2 void ColourConverterAvx2::Ycc22(const uint8_t* y, int yStride, const uint8_t* cb, const uint8_t* cr,
                                             int cStride, uint16_t* out, ptrdiff_t outStride, int w, int h) {
  int done = w & ~15;
  for (int r = 0; r < h; r += 2) {
    bool pair = r + 1 < h;
    for (int x = 0; x < done; x += 16) {
      Terms t = Doubled(cb + (r / 2) * cStride + x / 2, cr + (r / 2) * cStride + x / 2);
      Store16(out + r * outStride + x, Pixels(Luma16(y + r * yStride + x), t));
      if (pair) Store16(out + (r + 1) * outStride + x, Pixels(Luma16(y + (r + 1) * yStride + x), t));
    }
  }
  Rest<2, 2>(y, yStride, cb, cr, cStride, out, outStride, w, h, done);
}

}  // namespace image

#endif
