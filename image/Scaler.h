#pragma once

#include <cstdint>

#include "image/Bitmap.h"

namespace image {

// Scales a bitmap to another size: nearest pixel when the picture is enlarged in
// either direction; otherwise each target pixel is the mean, per 5-6-5 channel, of
// the source pixels under it, except on the outermost rows and columns, which take
// the nearest source pixel.
class Scaler {
 public:
  // Produces the part `window` of `src` scaled to outW x outH into `dst` (made at the
  // window's size); parts of the window outside the scaled picture stay black. Only
  // the window is computed, so cropping a large scaled picture costs only the crop.
  static int32_t Scale(const Bitmap& src, uint32_t outW, uint32_t outH, const Rect& window, Bitmap& dst);
};

}  // namespace image
