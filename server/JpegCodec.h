#pragma once

#include <string>
#include <string_view>

#include "server/RgbImage.h"

namespace server {

// libjpeg in memory: decoding uploads and stored photos, encoding renditions.
class JpegCodec {
 public:
  // Pictures above this many pixels are refused, so a small file cannot make the
  // service allocate gigabytes.
  static constexpr long long kMaxPixels = 120'000'000;

  // Reads the pixel size from the header; false when this is not a JPEG.
  static bool ReadSize(std::string_view jpeg, int& width, int& height);
  // Decodes to RGB. With minLongest > 0 libjpeg may scale down by up to 8 as long
  // as the longest side stays at least minLongest. False for data that is not a
  // complete, decodable JPEG.
  static bool Decode(std::string_view jpeg, int minLongest, RgbImage& image);
  static bool Encode(const RgbImage& image, int quality, std::string& jpeg);
};

}  // namespace server
