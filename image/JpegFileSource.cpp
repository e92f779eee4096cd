#include "image/JpegFileSource.h"

#include <new>

#include "platform/ErrorCodes.h"

namespace image {

JpegFileSource::JpegFileSource(platform::File& file) : file_(file) {
  error_ = static_cast<int32_t>(file_.Size(length_));
  if (error_ != 0) length_ = 0;
}

int32_t JpegFileSource::SeekTo(uint64_t offset) {
  if (error_ != 0) return error_;
  return static_cast<int32_t>(file_.Seek(offset));
}

int32_t JpegFileSource::Next(const uint8_t*& data, size_t& len) {
  data = nullptr;
  len = 0;
  if (error_ != 0) return error_;
  if (!buffer_) {
    buffer_.reset(new (std::nothrow) uint8_t[kBufferSize]);
    if (!buffer_) return static_cast<int32_t>(platform::kErrNotEnoughMemory);
  }
  uint32_t got = 0;
  if (uint32_t rc = file_.Read(buffer_.get(), kBufferSize, got); rc != 0) return static_cast<int32_t>(rc);
  data = buffer_.get();
  len = got;
  return 0;
}

}  // namespace image
