#include "image/JpegIdct.h"

#include <algorithm>
#include <cstring>

#include "image/JpegIdctPasses.h"

namespace image {

namespace {

using namespace idct;

constexpr int64_t Descale(int64_t x, int n) { return (x + (int64_t{1} << (n - 1))) >> n; }

inline uint8_t Clamp(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v + 128, 0, 255)); }

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
  auto in = [coef, quant](int i) { return int64_t{coef[i] * quant[i]}; };
  int64_t ws[4 * 8];
  for (int c = 0; c < 8; ++c) {
    if (c == 4) continue;
    if ((coef[8 + c] | coef[16 + c] | coef[24 + c] | coef[40 + c] | coef[48 + c] | coef[56 + c]) == 0) {
      int64_t dc = in(c) << kPass1Bits;
      for (int r = 0; r < 4; ++r) ws[r * 8 + c] = dc;
      continue;
    }
    Four t(in(c), in(8 + c), in(16 + c), in(24 + c), in(40 + c), in(48 + c), in(56 + c));
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
  auto in = [coef, quant](int i) { return int64_t{coef[i] * quant[i]}; };
  int64_t ws[2 * 8];
  for (int c : kCols) {
    if ((coef[8 + c] | coef[24 + c] | coef[40 + c] | coef[56 + c]) == 0) {
      ws[c] = ws[8 + c] = in(c) << kPass1Bits;
      continue;
    }
    Two t(in(c), in(8 + c), in(24 + c), in(40 + c), in(56 + c));
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
