#include "image/Scaler.h"

#include <new>
#include <vector>

#include "platform/ErrorCodes.h"

namespace image {

namespace {

// The source index nearest to the centre of target index i.
inline uint32_t Nearest(uint64_t i, uint32_t src, uint32_t out) {
  return static_cast<uint32_t>(((2 * i + 1) * src) / (2 * uint64_t{out}));
}

struct Span {
  uint32_t first;
  uint32_t end;
  uint32_t nearest;
};

std::vector<Span> Spans(int32_t from, int32_t count, uint32_t src, uint32_t out) {
  std::vector<Span> spans(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    int64_t t = int64_t{from} + i;
    if (t < 0 || t >= out) {
      spans[static_cast<size_t>(i)] = {0, 0, 0};
      continue;
    }
    uint64_t u = static_cast<uint64_t>(t);
    uint32_t first = static_cast<uint32_t>(u * src / out);
    uint32_t end = static_cast<uint32_t>((u + 1) * src / out);
    if (end <= first) end = first + 1;
    spans[static_cast<size_t>(i)] = {first, end, Nearest(u, src, out)};
  }
  return spans;
}

}  // namespace

int32_t Scaler::Scale(const Bitmap& src, uint32_t outW, uint32_t outH, const Rect& window, Bitmap& dst) {
  if (window.Width() <= 0 || window.Height() <= 0 || outW == 0 || outH == 0 || src.Width() == 0) {
    return static_cast<int32_t>(platform::kErrInvalidParameter);
  }
  if (int32_t rc = dst.Allocate(static_cast<uint32_t>(window.Width()), static_cast<uint32_t>(window.Height()));
      rc != 0) {
    return rc;
  }
  std::vector<Span> xs;
  std::vector<Span> ys;
  try {
    xs = Spans(window.left, window.Width(), src.Width(), outW);
    ys = Spans(window.top, window.Height(), src.Height(), outH);
  } catch (const std::bad_alloc&) {
    return static_cast<int32_t>(platform::kErrNotEnoughMemory);
  }
  bool enlarge = outW > src.Width() || outH > src.Height();

  for (int32_t j = 0; j < window.Height(); ++j) {
    int64_t ty = int64_t{window.top} + j;
    if (ty < 0 || ty >= outH) continue;
    const Span& sy = ys[static_cast<size_t>(j)];
    bool edgeRow = ty == 0 || ty == int64_t{outH} - 1;
    uint16_t* out = dst.Row(static_cast<uint32_t>(j));
    for (int32_t i = 0; i < window.Width(); ++i) {
      int64_t tx = int64_t{window.left} + i;
      if (tx < 0 || tx >= outW) continue;
      const Span& sx = xs[static_cast<size_t>(i)];
      if (enlarge || edgeRow || tx == 0 || tx == int64_t{outW} - 1) {
        out[i] = src.Pixel(sx.nearest, sy.nearest);
        continue;
      }
      uint64_t r = 0, g = 0, b = 0;
      for (uint32_t y = sy.first; y < sy.end; ++y) {
        const uint16_t* row = src.Row(y);
        for (uint32_t x = sx.first; x < sx.end; ++x) {
          uint16_t p = row[x];
          r += p >> 11;
          g += (p >> 5) & 0x3F;
          b += p & 0x1F;
        }
      }
      uint64_t n = uint64_t{sy.end - sy.first} * (sx.end - sx.first);
      out[i] = static_cast<uint16_t>((r / n) << 11 | (g / n) << 5 | (b / n));
    }
  }
  return 0;
}

}  // namespace image
