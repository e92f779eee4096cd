#pragma once

#include "image/Bitmap.h"

namespace image {

// Where a finished picture goes: the front end paints the bitmap at the area given
// (the GUI into a window, the command line into an image file).
class ImageCanvas {
 public:
  virtual ~ImageCanvas() = default;
  virtual void DrawBitmap(const Bitmap& bitmap, const Rect& area) = 0;
};

}  // namespace image
