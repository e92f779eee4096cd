#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

// Writes 8-bit RGB pictures (3 bytes a pixel, top-down) as PNG (libpng) or binary PPM.
class ImageFileWriter {
 public:
  static bool WritePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);
  static bool WritePpm(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);
};

}  // namespace cli
