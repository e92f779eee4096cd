#include "image/JpegIdctAvx2.h"

#if TESSARY_HAS_AVX2

#include <immintrin.h>

#include <cstring>

#include "image/JpegIdct.h"
#include "image/JpegIdctPasses.h"

namespace image {

namespace {

using namespace idct;

// Every output of a pass is an integer linear form of its inputs, so 32-bit lanes
// that wrap on the way give the exact result whenever the result itself, with its
// rounding and sample offset, fits in 32 bits: which holds for inputs within 16 bits.
constexpr int64_t kLaneLimit = int64_t{1} << 31;
static_assert(MaxGain() * 32768 + (int64_t{1} << (kPass2Shift - 1)) + (int64_t{128} << kPass2Shift) < kLaneLimit);
static_assert(MaxGain() * 32768 + (int64_t{1} << (kPass1Shift - 1)) < kLaneLimit);

TESSARY_AVX2 inline __m256i Mul(__m256i a, int64_t c) {
  return _mm256_mullo_epi32(a, _mm256_set1_epi32(static_cast<int32_t>(c)));
}

// The 1-D transform of eight lanes at once, in place: v[0..7] are the inputs x0..x7,
// and become the outputs o0..o7 before descaling (the same forms as idct::Eight).
TESSARY_AVX2 inline void Eight8(__m256i* v) {
  __m256i x0 = v[0], x1 = v[1], x2 = v[2], x3 = v[3], x4 = v[4], x5 = v[5], x6 = v[6], x7 = v[7];
  __m256i z1 = Mul(_mm256_add_epi32(x2, x6), kF0541);
  __m256i t2 = _mm256_sub_epi32(z1, Mul(x6, kF1847));
  __m256i t3 = _mm256_add_epi32(z1, Mul(x2, kF0765));
  __m256i t0 = _mm256_slli_epi32(_mm256_add_epi32(x0, x4), kConstBits);
  __m256i t1 = _mm256_slli_epi32(_mm256_sub_epi32(x0, x4), kConstBits);
  __m256i e10 = _mm256_add_epi32(t0, t3), e13 = _mm256_sub_epi32(t0, t3);
  __m256i e11 = _mm256_add_epi32(t1, t2), e12 = _mm256_sub_epi32(t1, t2);

  __m256i y1 = _mm256_add_epi32(x7, x1), y2 = _mm256_add_epi32(x5, x3);
  __m256i y3 = _mm256_add_epi32(x7, x3), y4 = _mm256_add_epi32(x5, x1);
  __m256i y5 = Mul(_mm256_add_epi32(y3, y4), kF1175);
  __m256i p0 = Mul(x7, kF0298), p1 = Mul(x5, kF2053), p2 = Mul(x3, kF3072), p3 = Mul(x1, kF1501);
  y1 = Mul(y1, -kF0899);
  y2 = Mul(y2, -kF2562);
  y3 = _mm256_add_epi32(Mul(y3, -kF1961), y5);
  y4 = _mm256_add_epi32(Mul(y4, -kF0390), y5);
  p0 = _mm256_add_epi32(p0, _mm256_add_epi32(y1, y3));
  p1 = _mm256_add_epi32(p1, _mm256_add_epi32(y2, y4));
  p2 = _mm256_add_epi32(p2, _mm256_add_epi32(y2, y3));
  p3 = _mm256_add_epi32(p3, _mm256_add_epi32(y1, y4));

  v[0] = _mm256_add_epi32(e10, p3);
  v[7] = _mm256_sub_epi32(e10, p3);
  v[1] = _mm256_add_epi32(e11, p2);
  v[6] = _mm256_sub_epi32(e11, p2);
  v[2] = _mm256_add_epi32(e12, p1);
  v[5] = _mm256_sub_epi32(e12, p1);
  v[3] = _mm256_add_epi32(e13, p0);
  v[4] = _mm256_sub_epi32(e13, p0);
}

TESSARY_AVX2 inline void Transpose(__m256i* v) {
  __m256i t0 = _mm256_unpacklo_epi32(v[0], v[1]), t1 = _mm256_unpackhi_epi32(v[0], v[1]);
  __m256i t2 = _mm256_unpacklo_epi32(v[2], v[3]), t3 = _mm256_unpackhi_epi32(v[2], v[3]);
  __m256i t4 = _mm256_unpacklo_epi32(v[4], v[5]), t5 = _mm256_unpackhi_epi32(v[4], v[5]);
  __m256i t6 = _mm256_unpacklo_epi32(v[6], v[7]), t7 = _mm256_unpackhi_epi32(v[6], v[7]);
  __m256i u0 = _mm256_unpacklo_epi64(t0, t2), u1 = _mm256_unpackhi_epi64(t0, t2);
  __m256i u2 = _mm256_unpacklo_epi64(t1, t3), u3 = _mm256_unpackhi_epi64(t1, t3);
  __m256i u4 = _mm256_unpacklo_epi64(t4, t6), u5 = _mm256_unpackhi_epi64(t4, t6);
  __m256i u6 = _mm256_unpacklo_epi64(t5, t7), u7 = _mm256_unpackhi_epi64(t5, t7);
  v[0] = _mm256_permute2x128_si256(u0, u4, 0x20);
  v[1] = _mm256_permute2x128_si256(u1, u5, 0x20);
  v[2] = _mm256_permute2x128_si256(u2, u6, 0x20);
  v[3] = _mm256_permute2x128_si256(u3, u7, 0x20);
  v[4] = _mm256_permute2x128_si256(u0, u4, 0x31);
  v[5] = _mm256_permute2x128_si256(u1, u5, 0x31);
  v[6] = _mm256_permute2x128_si256(u2, u6, 0x31);
  v[7] = _mm256_permute2x128_si256(u3, u7, 0x31);
}

// True when every lane of the n vectors lies within 16 bits.
TESSARY_AVX2 inline bool Within16Bits(const __m256i* v, int n = 8) {
  const __m256i bias = _mm256_set1_epi32(0x8000);
  __m256i any = _mm256_add_epi32(v[0], bias);
  for (int i = 1; i < n; ++i) any = _mm256_or_si256(any, _mm256_add_epi32(v[i], bias));
  return _mm256_testz_si256(any, _mm256_set1_epi32(static_cast<int32_t>(0xFFFF0000u))) != 0;
}

// Row r of the coefficients, dequantised.
TESSARY_AVX2 inline __m256i Row(const int16_t* coef, const int32_t* quant, int r) {
  __m256i c = _mm256_cvtepi16_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(coef + 8 * r)));
  return _mm256_mullo_epi32(c, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(quant + 8 * r)));
}

TESSARY_AVX2 inline void Clear(int16_t* coef) {
  for (int i = 0; i < 64; i += 16) _mm256_store_si256(reinterpret_cast<__m256i*>(coef + i), _mm256_setzero_si256());
}

TESSARY_AVX2 inline __m256i Descale1(__m256i x) {
  return _mm256_srai_epi32(_mm256_add_epi32(x, _mm256_set1_epi32(1 << (kPass1Shift - 1))), kPass1Shift);
}

// The second pass's descaling, with the sample offset of 128 folded into the rounding.
TESSARY_AVX2 inline __m128i Descale2(__m128i x) {
  return _mm_srai_epi32(_mm_add_epi32(x, _mm_set1_epi32((1 << (kPass2Shift - 1)) + (128 << kPass2Shift))), kPass2Shift);
}

TESSARY_AVX2 inline __m128i Mul(__m128i a, int64_t c) {
  return _mm_mullo_epi32(a, _mm_set1_epi32(static_cast<int32_t>(c)));
}

// Hands a block whose values do not fit the lanes to a scalar transform.
void Scalar(void (*transform)(const int16_t*, const int32_t*, uint8_t*, int), int16_t* coef, const int32_t* quant,
            uint8_t* out, int stride) {
  transform(coef, quant, out, stride);
  for (int i = 0; i < 64; ++i) coef[i] = 0;
}

}  // namespace

TESSARY_AVX2 void JpegIdctAvx2::Full(int16_t* coef, const int32_t* quant, uint8_t* out, int stride) {
  // Rows of coefficients, dequantised; the column pass works on all columns at once.
  __m256i v[8];
  for (int r = 0; r < 8; ++r) v[r] = Row(coef, quant, r);
  if (!Within16Bits(v)) return Scalar(JpegIdct::Full, coef, quant, out, stride);
  Eight8(v);
  for (__m256i& x : v) x = Descale1(x);
  if (!Within16Bits(v)) return Scalar(JpegIdct::Full, coef, quant, out, stride);
  Clear(coef);
  // Row pass: lane r of v[j] holds row r's input j.
  Transpose(v);
  Eight8(v);
  const __m256i round2 = _mm256_set1_epi32((1 << (kPass2Shift - 1)) + (128 << kPass2Shift));
  for (__m256i& x : v) x = _mm256_srai_epi32(_mm256_add_epi32(x, round2), kPass2Shift);
  // Saturating packs clamp to 0-255. Lane r of v[i] is the sample at row r, column i;
  // after the packs each 128-bit half holds columns 0-3 (or 4-7) of four rows, column
  // by column, which one shuffle turns row by row.
  __m256i c01 = _mm256_packs_epi32(v[0], v[1]), c23 = _mm256_packs_epi32(v[2], v[3]);
  __m256i c45 = _mm256_packs_epi32(v[4], v[5]), c67 = _mm256_packs_epi32(v[6], v[7]);
  __m256i left = _mm256_packus_epi16(c01, c23), right = _mm256_packus_epi16(c45, c67);
  const __m256i byRow = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0, 4, 8, 12, 1, 5, 9, 13,
                                         2, 6, 10, 14, 3, 7, 11, 15);
  left = _mm256_shuffle_epi8(left, byRow);
  right = _mm256_shuffle_epi8(right, byRow);
  __m256i rows0145 = _mm256_unpacklo_epi32(left, right), rows2367 = _mm256_unpackhi_epi32(left, right);
  __m128i pairs[4] = {_mm256_castsi256_si128(rows0145), _mm256_castsi256_si128(rows2367),
                      _mm256_extracti128_si256(rows0145, 1), _mm256_extracti128_si256(rows2367, 1)};
  for (int i = 0; i < 4; ++i) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 2 * i * stride), pairs[i]);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + (2 * i + 1) * stride), _mm_unpackhi_epi64(pairs[i], pairs[i]));
  }
}

TESSARY_AVX2 void JpegIdctAvx2::Half(int16_t* coef, const int32_t* quant, uint8_t* out, int stride) {
  // Column pass over all columns at once (column 4 goes unused): rows 0-3 of the
  // intermediate values.
  __m256i x[8];
  for (int r = 0; r < 8; ++r) x[r] = r == 4 ? _mm256_setzero_si256() : Row(coef, quant, r);
  if (!Within16Bits(x)) return Scalar(JpegIdct::Half, coef, quant, out, stride);
  __m256i t0 = _mm256_slli_epi32(x[0], kConstBits);
  __m256i q = _mm256_sub_epi32(Mul(x[2], kM0923), Mul(x[6], kM0382));
  __m256i e0 = _mm256_add_epi32(t0, q), e1 = _mm256_sub_epi32(t0, q);
  __m256i d0 = _mm256_add_epi32(_mm256_sub_epi32(Mul(x[1], kM1281), Mul(x[7], kM0254)),
                                _mm256_sub_epi32(Mul(x[3], kM0449), Mul(x[5], kM0300)));
  __m256i d1 = _mm256_add_epi32(_mm256_sub_epi32(Mul(x[1], kM0530), Mul(x[7], kM0105)),
                                _mm256_sub_epi32(Mul(x[5], kM0725), Mul(x[3], kM1086)));
  __m256i ws[4] = {Descale1(_mm256_add_epi32(e0, d0)), Descale1(_mm256_add_epi32(e1, d1)),
                   Descale1(_mm256_sub_epi32(e1, d1)), Descale1(_mm256_sub_epi32(e0, d0))};
  if (!Within16Bits(ws, 4)) return Scalar(JpegIdct::Half, coef, quant, out, stride);
  Clear(coef);
  // Row pass over the four rows at once: c[j] holds column j of rows 0-3.
  __m256i a = _mm256_unpacklo_epi32(ws[0], ws[1]), b = _mm256_unpackhi_epi32(ws[0], ws[1]);
  __m256i c = _mm256_unpacklo_epi32(ws[2], ws[3]), d = _mm256_unpackhi_epi32(ws[2], ws[3]);
  __m256i c04 = _mm256_unpacklo_epi64(a, c), c15 = _mm256_unpackhi_epi64(a, c);
  __m256i c26 = _mm256_unpacklo_epi64(b, d), c37 = _mm256_unpackhi_epi64(b, d);
  __m128i c0 = _mm256_castsi256_si128(c04), c1 = _mm256_castsi256_si128(c15);
  __m128i c2 = _mm256_castsi256_si128(c26), c3 = _mm256_castsi256_si128(c37);
  __m128i c5 = _mm256_extracti128_si256(c15, 1), c6 = _mm256_extracti128_si256(c26, 1);
  __m128i c7 = _mm256_extracti128_si256(c37, 1);
  __m128i r0 = _mm_slli_epi32(c0, kConstBits);
  __m128i rq = _mm_sub_epi32(Mul(c2, kM0923), Mul(c6, kM0382));
  __m128i f0 = _mm_add_epi32(r0, rq), f1 = _mm_sub_epi32(r0, rq);
  __m128i g0 =
      _mm_add_epi32(_mm_sub_epi32(Mul(c1, kM1281), Mul(c7, kM0254)), _mm_sub_epi32(Mul(c3, kM0449), Mul(c5, kM0300)));
  __m128i g1 =
      _mm_add_epi32(_mm_sub_epi32(Mul(c1, kM0530), Mul(c7, kM0105)), _mm_sub_epi32(Mul(c5, kM0725), Mul(c3, kM1086)));
  // Lane r of o[i] is the sample at row r, column i; the packs clamp to 0-255 and the
  // shuffle puts the bytes row by row.
  __m128i o01 = _mm_packs_epi32(Descale2(_mm_add_epi32(f0, g0)), Descale2(_mm_add_epi32(f1, g1)));
  __m128i o23 = _mm_packs_epi32(Descale2(_mm_sub_epi32(f1, g1)), Descale2(_mm_sub_epi32(f0, g0)));
  __m128i bytes =
      _mm_shuffle_epi8(_mm_packus_epi16(o01, o23), _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15));
  for (int r = 0; r < 4; ++r) {
    int32_t row = _mm_cvtsi128_si32(bytes);
    std::memcpy(out + r * stride, &row, 4);
    bytes = _mm_srli_si128(bytes, 4);
  }
}

TESSARY_AVX2 void JpegIdctAvx2::Quarter(int16_t* coef, const int32_t* quant, uint8_t* out, int stride) {
  // Column pass over all columns at once (columns 2, 4 and 6 go unused): rows 0 and 1
  // of the intermediate values.
  __m256i x[5] = {Row(coef, quant, 0), Row(coef, quant, 1), Row(coef, quant, 3), Row(coef, quant, 5),
                  Row(coef, quant, 7)};
  if (!Within16Bits(x, 5)) return Scalar(JpegIdct::Quarter, coef, quant, out, stride);
  __m256i t0 = _mm256_slli_epi32(x[0], kConstBits);
  __m256i d = _mm256_add_epi32(_mm256_sub_epi32(Mul(x[1], kM0906), Mul(x[2], kM0318)),
                               _mm256_sub_epi32(Mul(x[3], kM0212), Mul(x[4], kM0180)));
  __m256i ws[2] = {Descale1(_mm256_add_epi32(t0, d)), Descale1(_mm256_sub_epi32(t0, d))};
  if (!Within16Bits(ws, 2)) return Scalar(JpegIdct::Quarter, coef, quant, out, stride);
  Clear(coef);
  // Row pass: the weighted sum of columns 1, 3, 5 and 7 of each row, added up across
  // lanes, beside column 0.
  const __m256i weights = _mm256_setr_epi32(0, static_cast<int32_t>(kM0906), 0, static_cast<int32_t>(-kM0318), 0,
                                            static_cast<int32_t>(kM0212), 0, static_cast<int32_t>(-kM0180));
  __m256i p = _mm256_hadd_epi32(_mm256_mullo_epi32(ws[0], weights), _mm256_mullo_epi32(ws[1], weights));
  p = _mm256_hadd_epi32(p, p);
  // Lanes 0 and 1: the sums of rows 0 and 1.
  __m128i sums = _mm_add_epi32(_mm256_castsi256_si128(p), _mm256_extracti128_si256(p, 1));
  __m128i firsts = _mm_unpacklo_epi32(_mm256_castsi256_si128(ws[0]), _mm256_castsi256_si128(ws[1]));
  __m128i base = _mm_slli_epi32(firsts, kConstBits);
  // Lanes: row 0 column 0, row 1 column 0, row 0 column 1, row 1 column 1.
  __m128i both = _mm_unpacklo_epi64(_mm_add_epi32(base, sums), _mm_sub_epi32(base, sums));
  __m128i v = Descale2(both);
  v = _mm_packus_epi16(_mm_packs_epi32(v, v), _mm_setzero_si128());
  uint32_t four = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
  out[0] = static_cast<uint8_t>(four);
  out[stride] = static_cast<uint8_t>(four >> 8);
  out[1] = static_cast<uint8_t>(four >> 16);
  out[stride + 1] = static_cast<uint8_t>(four >> 24);
}

}  // namespace image

#endif
