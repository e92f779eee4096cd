#pragma once

#include <cstdint>

#include "server/RgbImage.h"

namespace server {

// Photo-like landscapes made at run time (sky, sun, hills, grain), so the demo
// blogs carry real JPEGs without shipping any picture files.
class SyntheticPhoto {
 public:
  static RgbImage Landscape(int width, int height, uint32_t seed);
};

}  // namespace server
