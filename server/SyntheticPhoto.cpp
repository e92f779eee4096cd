#include "server/SyntheticPhoto.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace server {

namespace {

uint8_t Clamp(double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)); }

struct Palette {
  double skyTop[3];
  double skyBottom[3];
  double ground[3];
};

constexpr Palette kPalettes[] = {
    {{40, 90, 170}, {170, 205, 235}, {60, 120, 50}},    // summer noon
    {{70, 40, 110}, {250, 150, 80}, {70, 60, 50}},      // sunset
    {{120, 140, 160}, {210, 215, 220}, {200, 205, 210}},  // winter
    {{20, 110, 160}, {150, 220, 230}, {210, 190, 140}},  // coast
};

}  // namespace

RgbImage SyntheticPhoto::Landscape(int width, int height, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::normal_distribution<double> grain(0.0, 4.0);
  const Palette& p = kPalettes[seed % std::size(kPalettes)];
  double sunX = width * (0.15 + 0.7 * unit(random));
  double sunY = height * (0.1 + 0.25 * unit(random));
  double sunR = std::min(width, height) * (0.05 + 0.04 * unit(random));
  double phase[3] = {unit(random) * 6.28, unit(random) * 6.28, unit(random) * 6.28};
  double horizon = height * (0.5 + 0.2 * unit(random));

  RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(size_t(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double fx = double(x) / width;
      // Three layers of hills, the nearer ones darker and lower.
      int layer = -1;
      for (int l = 0; l < 3; ++l) {
        double ridge = horizon + l * height * 0.1 - height * 0.08 * std::sin(fx * (3 + 2 * l) + phase[l]) -
                       height * 0.03 * std::sin(fx * (11 + 5 * l) + phase[(l + 1) % 3]);
        if (y >= ridge) layer = l;
      }
      double c[3];
      if (layer < 0) {
        double t = double(y) / horizon;
        for (int k = 0; k < 3; ++k) c[k] = p.skyTop[k] + (p.skyBottom[k] - p.skyTop[k]) * std::min(t, 1.0);
        double d = std::hypot(x - sunX, y - sunY);
        double glow = std::max(0.0, 1.0 - d / (sunR * 4));
        if (d < sunR) glow = 1.6;
        c[0] += 90 * glow;
        c[1] += 80 * glow;
        c[2] += 40 * glow;
      } else {
        double shade = 1.0 - 0.22 * layer;
        double depth = double(y - horizon) / (height - horizon + 1);
        for (int k = 0; k < 3; ++k) c[k] = p.ground[k] * shade * (0.8 + 0.3 * depth);
      }
      uint8_t* px = image.pixels.data() + (size_t(y) * width + x) * 3;
      double n = grain(random);
      for (int k = 0; k < 3; ++k) px[k] = Clamp(c[k] + n);
    }
  }
  return image;
}

}  // namespace server
