#pragma once

#include <cstdint>
#include <vector>

#include "platform/File.h"

namespace image {

// Side of an entry's square thumbnail, in pixels.
inline constexpr uint32_t kEntryThumbnailSize = 96;
// JPEG quality of entry thumbnails.
inline constexpr int kEntryThumbnailQuality = 80;

// Makes an entry's thumbnail from the open photo file: the picture (or its EXIF
// thumbnail) scaled to cover 96 x 96, cropped to the horizontal centre and the top,
// written as a JPEG of quality 80 through an "MVTemp" temporary file of the device's
// temporary folder. On success `thumbnail` holds the JPEG bytes; on failure it is
// left empty and the code says why (a decoder code, or a platform code).
int32_t MakeEntryThumbnail(platform::File& photo, std::vector<uint8_t>& thumbnail);

}  // namespace image
