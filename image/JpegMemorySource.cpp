#include "image/JpegMemorySource.h"

namespace image {

int32_t JpegMemorySource::SeekTo(uint64_t offset) {
  pos_ = offset < len_ ? static_cast<size_t>(offset) : len_;
  return 0;
}

int32_t JpegMemorySource::Next(const uint8_t*& data, size_t& len) {
  data = data_ + pos_;
  len = len_ - pos_;
  pos_ = len_;
  return 0;
}

}  // namespace image
