#pragma once

#include <memory>

#include "image/JpegSource.h"
#include "platform/File.h"

namespace image {

// Reads an open photo file from its start in pieces of 38 912 bytes.
class JpegFileSource : public JpegSource {
 public:
  explicit JpegFileSource(platform::File& file);

  int32_t SeekTo(uint64_t offset) override;
  int32_t Next(const uint8_t*& data, size_t& len) override;
  uint64_t Length() const override { return length_; }

 private:
  platform::File& file_;
  uint64_t length_ = 0;
  int32_t error_ = 0;
  std::unique_ptr<uint8_t[]> buffer_;
};

}  // namespace image
