#pragma once

#include <cstdint>
#include <memory>

#include "image/Bitmap.h"
#include "image/ImageCanvas.h"
#include "image/JpegSource.h"

namespace image {

// Draw options, combined as bits.
inline constexpr uint32_t kDrawKeepBitmap = 0x40;            // hand the bitmap to the caller instead of drawing it
inline constexpr uint32_t kDrawNaturalSize = 0x800;          // the picture at its own size
inline constexpr uint32_t kDrawFill = 0x4000;                // cover the target and crop (default: fit inside)
inline constexpr uint32_t kDrawNoVerticalCentre = 0x20000;   // keep the picture at the target's top edge

// Decodes the JPEG of `source` for the target rectangle and draws it on the canvas.
// On return `target` holds the area the picture covers. Answers 0, a decoder code,
// 2 for a picture of no size, or the platform's code 8 when memory is short.
int32_t DrawJpeg(JpegSource& source, ImageCanvas& canvas, Rect& target, uint32_t options);

// The same, keeping the bitmap: `bitmap` receives the finished picture and `target`
// the area it covers.
int32_t DecodeJpegToBitmap(JpegSource& source, Rect& target, uint32_t options,
                           std::unique_ptr<Bitmap>& bitmap);

}  // namespace image
