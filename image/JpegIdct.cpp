#include "image/JpegIdct.h"

#include <algorithm>
#include <cstring>

#include "image/JpegIdctEight.h"

namespace image {

namespace {

using namespace idct;

constexpr int64_t Descale(int64_t x, int n) { return (x + (int64_t{1} << (n - 1))) >> n; }

inline uint8_t Clamp(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v + 128, 0, 255)); }

// Means of sample pairs of the 8-point transform, from coefficients 0-3 and 5-7.
struct Four {
  int64_t o[4];
  Four(int64_t x0, int64_t x1, int64_t x2, int64_t x3, int64_t x5, int64_t x6, int64_t x7) {
    int64_t t0 = x0 << kConstBits;
    int64_t q = x2 * Fix(0.923879533) - x6 * Fix(0.382683432);
    int64_t e0 = t0 + q, e1 = t0 - q;
    int64_t d0 = x1 * Fix(1.281457724) - x7 * Fix(0.254897790) + x3 * Fix(0.449988112) - x5 * Fix(0.300672443);
    int64_t d1 = x1 * Fix(0.530797169) - x7 * Fix(0.105582121) - x3 * Fix(1.086367402) + x5 * Fix(0.725887491);
    o[0] = e0 + d0; o[3] = e0 - d0;
    o[1] = e1 + d1; o[2] = e1 - d1;
  }
};

// Means of sample quadruples of the 8-point transform, from coefficients 0, 1, 3, 5, 7.
struct Two {
  int64_t o[2];
  Two(int64_t x0, int64_t x1, int64_t x3, int64_t x5, int64_t x7) {
    int64_t t0 = x0 << kConstBits;
    int64_t d = x1 * Fix(0.906127446) - x3 * Fix(0.318189645) + x5 * Fix(0.212607524) - x7 * Fix(0.180239956);
    o[0] = t0 + d;
    o[1] = t0 - d;
  }
};


// The 8 x 8 coefficients, dequantised. A quantised coefficient times a 16-bit table
// entry always fits in 32 bits.
struct Dequantised {
  int32_t v[64];
  Dequantised(const int16_t* coef, const int32_t* quant) {
    for (int i = 0; i < 64; ++i) v[i] = coef[i] * quant[i];
  }
};

}  // namespace

uint8_t JpegIdct::DcSample(int32_t dc) { return Clamp(Descale(dc, 3)); }

void JpegIdct::FillDc(int32_t dc, uint8_t* out, int stride, int size) {
  uint8_t v = DcSample(dc);
  for (int y = 0; y < size; ++y) std::memset(out + y * stride, v, static_cast<size_t>(size));
}

void JpegIdct::Full(const int16_t* coef, const int32_t* quant, uint8_t* out, int stride) {
  Dequantised in(coef, quant);
  int64_t ws[64];
  for (int c = 0; c < 8; ++c) {
    const int32_t* col = in.v + c;
    if ((col[8] | col[16] | col[24] | col[32] | col[40] | col[48] | col[56]) == 0) {
      int64_t dc = int64_t{col[0]} << kPass1Bits;
      for (int r = 0; r < 8; ++r) ws[r * 8 + c] = dc;
      continue;
    }
    Eight t(col[0], col[8], col[16], col[24], col[32], col[40], col[48], col[56]);
    for (int r = 0; r < 8; ++r) ws[r * 8 + c] = Descale(t.o[r], kPass1Shift);
  }
  for (int r = 0; r < 8; ++r) {
    const int64_t* row = ws + r * 8;
    uint8_t* o = out + r * stride;
    if ((row[1] | row[2] | row[3] | row[4] | row[5] | row[6] | row[7]) == 0) {
      std::memset(o, Clamp(Descale(row[0], kPass1Bits + 3)), 8);
      continue;
    }
    Eight t(row[0], row[1], row[2], row[3], row[4], row[5], row[6], row[7]);
    for (int i = 0; i < 8; ++i) o[i] = Clamp(Descale(t.o[i], kPass2Shift));
  }
}

void JpegIdct::Half(const int16_t* coef, const int32_t* quant, uint8_t* out, int stride) {
  Dequantised in(coef, quant);
  int64_t ws[4 * 8];
  for (int c = 0; c < 8; ++c) {
    if (c == 4) continue;
    const int32_t* col = in.v + c;
    if ((col[8] | col[16] | col[24] | col[40] | col[48] | col[56]) == 0) {
      int64_t dc = int64_t{col[0]} << kPass1Bits;
      for (int r = 0; r < 4; ++r) ws[r * 8 + c] = dc;
      continue;
    }
    Four t(col[0], col[8], col[16], col[24], col[40], col[48], col[56]);
    for (int r = 0; r < 4; ++r) ws[r * 8 + c] = Descale(t.o[r], kPass1Shift);
  }
  for (int r = 0; r < 4; ++r) {
    const int64_t* row = ws + r * 8;
    uint8_t* o = out + r * stride;
    if ((row[1] | row[2] | row[3] | row[5] | row[6] | row[7]) == 0) {
      std::memset(o, Clamp(Descale(row[0], kPass1Bits + 3)), 4);
      continue;
    }
    Four t(row[0], row[1], row[2], row[3], row[5], row[6], row[7]);
    for (int i = 0; i < 4; ++i) o[i] = Clamp(Descale(t.o[i], kPass2Shift));
  }
}

void JpegIdct::Quarter(const int16_t* coef, const int32_t* quant, uint8_t* out, int stride) {
  static constexpr int kCols[5] = {0, 1, 3, 5, 7};
  Dequantised in(coef, quant);
  int64_t ws[2 * 8];
  for (int c : kCols) {
    const int32_t* col = in.v + c;
    if ((col[8] | col[24] | col[40] | col[56]) == 0) {
      ws[c] = ws[8 + c] = int64_t{col[0]} << kPass1Bits;
      continue;
    }
    Two t(col[0], col[8], col[24], col[40], col[56]);
    ws[c] = Descale(t.o[0], kPass1Shift);
    ws[8 + c] = Descale(t.o[1], kPass1Shift);
  }
  for (int r = 0; r < 2; ++r) {
    const int64_t* row = ws + r * 8;
    Two t(row[0], row[1], row[3], row[5], row[7]);
    out[r * stride] = Clamp(Descale(t.o[0], kPass2Shift));
    out[r * stride + 1] = Clamp(Descale(t.o[1], kPass2Shift));
  }
}

}  // namespace image
