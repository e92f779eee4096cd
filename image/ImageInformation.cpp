#include "image/ImageInformation.h"

#include "image/JpegDecoder.h"
#include "image/JpegErrors.h"
#include "image/JpegFileSource.h"

namespace image {

int32_t ReadImageInformation(platform::File& file, ImageInformation& info) {
  info = ImageInformation{};
  JpegFileSource source(file);
  JpegDecoder decoder(source);
  int32_t rc = decoder.ReadHeaders();
  const JpegHeader& h = decoder.Header();
  if (h.frameMarker != 0) {
    info.width = h.width;
    info.height = h.height;
  }
  info.hasExifThumbnail = h.exif.hasThumbnail;
  info.captureDate = h.exif.captureDate;
  info.description = h.exif.description;
  return rc;
}

bool IsJpegPhoto(platform::File& file) {
  JpegFileSource source(file);
  JpegDecoder decoder(source);
  const int32_t rc = decoder.ReadHeaders();
  const JpegHeader& h = decoder.Header();
  if (h.frameMarker == 0 || h.width == 0 || h.height == 0) return false;
  return rc == kJpegOk || (rc == kJpegErrProgressive && h.progressive);
}

}  // namespace image
