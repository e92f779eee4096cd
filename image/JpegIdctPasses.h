#pragma once

#include <cstdint>

// The fixed-point 1-D passes shared by the scalar and vector inverse transforms: the
// 8-point inverse DCT, and the means of its outputs in pairs and quadruples that the
// reduced transforms compute directly.
namespace image::idct {

// Fixed point with 13 fraction bits; the first pass keeps 2 extra bits of precision.
constexpr int kConstBits = 13;
constexpr int kPass1Bits = 2;
constexpr int kPass1Shift = kConstBits - kPass1Bits;
constexpr int kPass2Shift = kConstBits + kPass1Bits + 3;

constexpr int64_t Fix(double x) { return static_cast<int64_t>(x * (1 << kConstBits) + 0.5); }

constexpr int64_t kF0298 = Fix(0.298631336);
constexpr int64_t kF0390 = Fix(0.390180644);
constexpr int64_t kF0541 = Fix(0.541196100);
constexpr int64_t kF0765 = Fix(0.765366865);
constexpr int64_t kF0899 = Fix(0.899976223);
constexpr int64_t kF1175 = Fix(1.175875602);
constexpr int64_t kF1501 = Fix(1.501321110);
constexpr int64_t kF1847 = Fix(1.847759065);
constexpr int64_t kF1961 = Fix(1.961570560);
constexpr int64_t kF2053 = Fix(2.053119869);
constexpr int64_t kF2562 = Fix(2.562915447);
constexpr int64_t kF3072 = Fix(3.072711026);

// The 8-point inverse DCT, scaled by sqrt(8) and 2^13 (the Loeffler-Ligtenberg-
// Moschytz factorisation with 12 multiplications). With 64-bit intermediates no
// coefficient a file can hold overflows.
struct Eight {
  int64_t o[8] = {};
  constexpr Eight(int64_t x0, int64_t x1, int64_t x2, int64_t x3, int64_t x4, int64_t x5, int64_t x6,
                  int64_t x7) {
    int64_t z1 = (x2 + x6) * kF0541;
    int64_t t2 = z1 - x6 * kF1847;
    int64_t t3 = z1 + x2 * kF0765;
    int64_t t0 = (x0 + x4) << kConstBits;
    int64_t t1 = (x0 - x4) << kConstBits;
    int64_t e10 = t0 + t3, e13 = t0 - t3, e11 = t1 + t2, e12 = t1 - t2;

    int64_t p0 = x7, p1 = x5, p2 = x3, p3 = x1;
    int64_t y1 = p0 + p3, y2 = p1 + p2, y3 = p0 + p2, y4 = p1 + p3;
    int64_t y5 = (y3 + y4) * kF1175;
    p0 *= kF0298;
    p1 *= kF2053;
    p2 *= kF3072;
    p3 *= kF1501;
    y1 *= -kF0899;
    y2 *= -kF2562;
    y3 = y3 * -kF1961 + y5;
    y4 = y4 * -kF0390 + y5;
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

// Factors of the reduced passes.
constexpr int64_t kM0105 = Fix(0.105582121);
constexpr int64_t kM0180 = Fix(0.180239956);
constexpr int64_t kM0212 = Fix(0.212607524);
constexpr int64_t kM0254 = Fix(0.254897790);
constexpr int64_t kM0300 = Fix(0.300672443);
constexpr int64_t kM0318 = Fix(0.318189645);
constexpr int64_t kM0382 = Fix(0.382683432);
constexpr int64_t kM0449 = Fix(0.449988112);
constexpr int64_t kM0530 = Fix(0.530797169);
constexpr int64_t kM0725 = Fix(0.725887491);
constexpr int64_t kM0906 = Fix(0.906127446);
constexpr int64_t kM0923 = Fix(0.923879533);
constexpr int64_t kM1086 = Fix(1.086367402);
constexpr int64_t kM1281 = Fix(1.281457724);

// Means of sample pairs of the 8-point transform, from coefficients 0-3 and 5-7.
struct Four {
  int64_t o[4] = {};
  constexpr Four(int64_t x0, int64_t x1, int64_t x2, int64_t x3, int64_t x5, int64_t x6, int64_t x7) {
    int64_t t0 = x0 << kConstBits;
    int64_t q = x2 * kM0923 - x6 * kM0382;
    int64_t e0 = t0 + q, e1 = t0 - q;
    int64_t d0 = x1 * kM1281 - x7 * kM0254 + x3 * kM0449 - x5 * kM0300;
    int64_t d1 = x1 * kM0530 - x7 * kM0105 - x3 * kM1086 + x5 * kM0725;
    o[0] = e0 + d0; o[3] = e0 - d0;
    o[1] = e1 + d1; o[2] = e1 - d1;
  }
};

// Means of sample quadruples of the 8-point transform, from coefficients 0, 1, 3, 5, 7.
struct Two {
  int64_t o[2] = {};
  constexpr Two(int64_t x0, int64_t x1, int64_t x3, int64_t x5, int64_t x7) {
    int64_t t0 = x0 << kConstBits;
    int64_t d = x1 * kM0906 - x3 * kM0318 + x5 * kM0212 - x7 * kM0180;
    o[0] = t0 + d;
    o[1] = t0 - d;
  }
};

// The largest |output| of the three passes per unit of max |input|: each output is an
// integer linear form of the inputs, and its largest value for inputs within [-1, 1]
// is reached at a vector of signs.
constexpr int64_t MaxGain() {
  int64_t best = 0;
  auto keep = [&best](const int64_t* o, int n) {
    for (int i = 0; i < n; ++i) best = o[i] > best ? o[i] : best;
  };
  for (int signs = 0; signs < 256; ++signs) {
    int64_t x[8];
    for (int j = 0; j < 8; ++j) x[j] = (signs >> j & 1) != 0 ? 1 : -1;
    keep(Eight(x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7]).o, 8);
    keep(Four(x[0], x[1], x[2], x[3], x[5], x[6], x[7]).o, 4);
    keep(Two(x[0], x[1], x[3], x[5], x[7]).o, 2);
  }
  return best;
}

}  // namespace image::idct
