#include "server/ImageScaler.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace server {

namespace {

// For each target column (or row), the source range [start, end) it averages.
std::vector<int> Bounds(int source, int target) {
  std::vector<int> bounds(static_cast<size_t>(target) + 1);
  for (int i = 0; i <= target; ++i) bounds[i] = static_cast<int>(int64_t(i) * source / target);
  for (int i = 0; i < target; ++i) bounds[i + 1] = std::max(bounds[i + 1], bounds[i] + 1);
  return bounds;
}

}  // namespace

RgbImage ImageScaler::FitLongestSide(const RgbImage& image, int longest) {
  int side = std::max(image.width, image.height);
  if (longest <= 0 || side <= longest) return image;
  RgbImage out;
  out.width = std::max(1, static_cast<int>(int64_t(image.width) * longest / side));
  out.height = std::max(1, static_cast<int>(int64_t(image.height) * longest / side));
  out.pixels.resize(size_t(out.width) * out.height * 3);
  std::vector<int> xs = Bounds(image.width, out.width);
  std::vector<int> ys = Bounds(image.height, out.height);
  std::vector<uint32_t> sums(size_t(out.width) * 3);
  for (int ty = 0; ty < out.height; ++ty) {
    std::fill(sums.begin(), sums.end(), 0);
    for (int sy = ys[ty]; sy < ys[ty + 1]; ++sy) {
      const uint8_t* row = image.pixels.data() + size_t(sy) * image.width * 3;
      for (int tx = 0; tx < out.width; ++tx) {
        for (int sx = xs[tx]; sx < xs[tx + 1]; ++sx) {
          sums[tx * 3] += row[sx * 3];
          sums[tx * 3 + 1] += row[sx * 3 + 1];
          sums[tx * 3 + 2] += row[sx * 3 + 2];
        }
      }
    }
    uint8_t* dst = out.pixels.data() + size_t(ty) * out.width * 3;
    int rows = ys[ty + 1] - ys[ty];
    for (int tx = 0; tx < out.width; ++tx) {
      uint32_t count = uint32_t(rows) * uint32_t(xs[tx + 1] - xs[tx]);
      for (int c = 0; c < 3; ++c) dst[tx * 3 + c] = static_cast<uint8_t>((sums[tx * 3 + c] + count / 2) / count);
    }
  }
  return out;
}

}  // namespace server
