#pragma once

#include <string>

#include "image/Bitmap.h"

namespace image {

// Writes the bitmap as a baseline JPEG of the given quality (libjpeg) to a file of
// the host. Answers false when the file cannot be written.
bool WriteBitmapAsJpeg(const Bitmap& bitmap, const std::string& hostPath, int quality);

}  // namespace image
