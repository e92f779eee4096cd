#pragma once

#include <cstdint>
#include <string>

#include "image/Bitmap.h"

namespace cli {

// Writes a 16-bit bitmap as an 8-bit RGB picture, PNG (libpng) or binary PPM,
// converting a few rows at a time: no second copy of the picture is made.
class ImageFileWriter {
 public:
  static bool WritePng(const std::string& path, const image::Bitmap& bitmap);
  static bool WritePpm(const std::string& path, const image::Bitmap& bitmap);
  // The red, green and blue bytes of `count` 16-bit pixels, each field's bits at
  // the top of its byte.
  static void ExpandRow(const uint16_t* pixels, uint32_t count, uint8_t* rgb);
};

}  // namespace cli
