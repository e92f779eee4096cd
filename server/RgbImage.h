#pragma once

#include <cstdint>
#include <vector>

namespace server {

// An 8-bit RGB picture, rows top to bottom, three bytes per pixel.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

}  // namespace server
