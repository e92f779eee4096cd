#pragma once

#include "server/RgbImage.h"

namespace server {

// Shrinks pictures by averaging the source pixels each target pixel covers.
class ImageScaler {
 public:
  // The picture scaled so that its longest side is at most `longest`, keeping its
  // proportions; a picture that already fits is answered unchanged (never enlarged).
  static RgbImage FitLongestSide(const RgbImage& image, int longest);
};

}  // namespace server
