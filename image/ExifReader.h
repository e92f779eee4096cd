#pragma once

#include <cstddef>
#include <cstdint>

#include "image/JpegHeader.h"

namespace image {

// Reads the TIFF structure of an EXIF block: IFD0, the IFDs chained after it and the
// EXIF sub-IFD. Offsets outside the block are ignored, never followed.
class ExifReader {
 public:
  // `tiff` is the block after "Exif\0\0"; `tiffOffset` is where it starts in the input,
  // so that the thumbnail offset can be given from the start of the input.
  static void Parse(const uint8_t* tiff, size_t len, uint64_t tiffOffset, ExifData& out);
};

}  // namespace image
