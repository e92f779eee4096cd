#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "server/RgbImage.h"

namespace server {

// libjpeg in memory: decoding uploads and stored photos, encoding renditions.
class JpegCodec {
 public:
  // Pictures above this many pixels are refused from their header, so a small
  // file cannot make the service allocate gigabytes.
  static constexpr long long kMaxPixels = 64'000'000;

  // Reads the pixel size from the header; false when this is not a JPEG.
  static bool ReadSize(std::string_view jpeg, int& width, int& height);
  // Bytes a decode needs beyond its output, from the header: a progressive
  // picture is held whole as coefficients, whatever the scale.
  static size_t DecodeMemory(std::string_view jpeg);
  // Decodes to RGB. With minLongest > 0 libjpeg scales down (by eighths, down to
  // one eighth) to the smallest size whose longest side is still at least
  // minLongest. False for data that is not a complete, decodable JPEG.
  static bool Decode(std::string_view jpeg, int minLongest, RgbImage& image);
  static bool Encode(const RgbImage& image, int quality, std::string& jpeg);
};

}  // namespace server
