#include "image/ImageInformation.h"

#include "image/JpegDecoder.h"
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

}  // namespace image
