#pragma once

#include "image/JpegSource.h"

namespace image {

// Hands out an in-memory JPEG (an entry's thumbnail) as one piece. The bytes are
// not copied and must outlive the source.
class JpegMemorySource : public JpegSource {
 public:
  JpegMemorySource(const uint8_t* data, size_t len) : data_(data), len_(len) {}

  int32_t SeekTo(uint64_t offset) override;
  int32_t Next(const uint8_t*& data, size_t& len) override;
  uint64_t Length() const override { return len_; }

 private:
  const uint8_t* data_;
  size_t len_;
  size_t pos_ = 0;
};

}  // namespace image
