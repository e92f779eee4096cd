#pragma once

#include <cstdint>
#include <vector>

namespace bench {

// `jpeg` with an APP1 EXIF block whose IFD0 links to an IFD1 holding `thumb`, the
// JPEG thumbnail a camera writes.
inline std::vector<uint8_t> WithExifThumbnail(const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& thumb) {
  auto put = [](std::vector<uint8_t>& b, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  std::vector<uint8_t> t = {'M', 'M', 0, 42};
  put(t, 8, 4);
  put(t, 0, 2);
  put(t, 14, 4);
  put(t, 2, 2);
  put(t, 513, 2); put(t, 4, 2); put(t, 1, 4); put(t, 14 + 2 + 24 + 4, 4);
  put(t, 514, 2); put(t, 4, 2); put(t, 1, 4); put(t, static_cast<uint32_t>(thumb.size()), 4);
  put(t, 0, 4);
  t.insert(t.end(), thumb.begin(), thumb.end());
  std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
  put(out, 0xFFE1, 2);
  put(out, static_cast<uint32_t>(t.size() + 8), 2);
  out.insert(out.end(), {'E', 'x', 'i', 'f', 0, 0});
  out.insert(out.end(), t.begin(), t.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

}  // namespace bench
