#include "image/JpegIdct.h"

#include <algorithm>
#include <cstring>

namespace image {

namespace {

// Fixed point with 13 fraction bits; the first pass keeps 2 extra bits of precision.
// Intermediates are 64-bit so that no coefficient a file can hold overflows.
constexpr int kConstBits = 13;
constexpr int kPass1Bits = 2;

constexpr int64_t Fix(double x) { return static_cast<int64_t>(x * (1 << kConstBits) + 0.5); }

constexpr int64_t Descale(int64_t x, int n) { return (x + (int64_t{1} << (n - 1))) >> n; }

inline uint8_t Clamp(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v + 128, 0, 255)); }

// The 8-point inverse DCT, scaled by sqrt(8) and 2^13 (the Loeffler-Ligtenberg-
// Moschytz factorisation with 12 multiplications).
struct Eight {
  int64_t o[8];
  Eight(int64_t x0, int64_t x1, int64_t x2, int64_t x3, int64_t x4, int64_t x5, int64_t x6, int64_t x7) {
    int64_t z1 = (x2 + x6) * Fix(0.541196100);
    int64_t t2 = z1 - x6 * Fix(1.847759065);
    int64_t t3 = z1 + x2 * Fix(0.765366865);
    int64_t t0 = (x0 + x4) << kConstBits;
    int64_t t1 = (x0 - x4) << kConstBits;
    int64_t e10 = t0 + t3, e13 = t0 - t3, e11 = t1 + t2, e12 = t1 - t2;

    int64_t p0 = x7, p1 = x5, p2 = x3, p3 = x1;
    int64_t y1 = p0 + p3, y2 = p1 + p2, y3 = p0 + p2, y4 = p1 + p3;
    int64_t y5 = (y3 + y4) * Fix(1.175875602);
    p0 *= Fix(0.298631336);
    p1 *= Fix(2.053119869);
    p2 *= Fix(3.072711026);
    p3 *= Fix(1.501321110);
    y1 *= -Fix(0.899976223);
    y2 *= -Fix(2.562915447);
    y3 = y3 * -Fix(1.961570560) + y5;
    y4 = y4 * -Fix(0.390180644) + y5;
    p0 += y1 + y3;
    p1 += y2 + y4;
    p2 += y2 + y3;
    p3 += y1 + y4;

    o[0] = e10 + p3; o[7] = e10 - p3;
    o[1] = e11 + p2; o[6] = e11 - p2;
    o[2] = e12 + p1; o[5] = e12 - p1;
    o[3] = e13 + p0; o[4] = e13 - p0;
  }
};

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

constexpr int kPass1Shift = kConstBits - kPass1Bits;
constexpr int kPass2Shift = kConstBits + kPass1Bits + 3;

}  // namespace

uint8_t JpegIdct::DcSample(int32_t dc) { return Clamp(Descale(dc, 3)); }

void JpegIdct::FillDc(int32_t dc, uint8_t* out, int stride, int size) {
  uint8_t v = DcSample(dc);
  for (int y = 0; y < size; ++y) std::memset(out + y * stride, v, static_cast<size_t>(size));
}

void JpegIdct::Full(const int32_t* in, uint8_t* out, int stride) {
  int64_t ws[64];
  for (int c = 0; c < 8; ++c) {
    const int32_t* col = in + c;
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

void JpegIdct::Half(const int32_t* in, uint8_t* out, int stride) {
  int64_t ws[4 * 8];
  for (int c = 0; c < 8; ++c) {
    if (c == 4) continue;
    const int32_t* col = in + c;
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

void JpegIdct::Quarter(const int32_t* in, uint8_t* out, int stride) {
  static constexpr int kCols[5] = {0, 1, 3, 5, 7};
  int64_t ws[2 * 8];
  for (int c : kCols) {
    const int32_t* col = in + c;
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
