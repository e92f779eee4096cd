#pragma once

#include <cstdint>
#include <string>

#include "platform/File.h"

namespace image {

// What the headers of a JPEG tell about it.
struct ImageInformation {
  uint32_t width = 0;
  uint32_t height = 0;
  bool hasExifThumbnail = false;
  std::string captureDate;  // EXIF date of capture as stored, at most 19 characters
  std::string description;  // EXIF image description, at most 199 characters
};

// Reads only the headers of the open JPEG file (from its start). Answers 0 or a
// decoder code; the size is filled in whenever the frame header was read, even when
// the picture cannot be decoded (a progressive one, say).
int32_t ReadImageInformation(platform::File& file, ImageInformation& info);

// Whether the file is a JPEG photo as far as its headers tell: a start-of-image
// marker and a frame header the decoder reads, with a size, up to the scan. A
// progressive photo counts once its frame header gives the size, though the
// decoder does not draw it. Reads from the start of the file.
bool IsJpegPhoto(platform::File& file);

// A JPEG photo as IsJpegPhoto tells whose data runs whole to its end-of-image
// marker: a photo cut short in transfer is not one.
bool IsWholeJpeg(platform::File& file);

}  // namespace image
