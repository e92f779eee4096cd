#pragma once

#include <cstdint>

#include "net/Stream.h"

namespace net {

// A stream held in one memory buffer that grows on demand.
class SmallStream : public Stream {
 public:
  uint32_t GetSize() override;
  bool Seek(uint32_t position) override;
  bool ReadBlock(const uint8_t*& data, uint32_t& length) override;
  bool ReadByte(uint8_t& ch) override;
  bool PeekByte(uint8_t& ch) override;
  uint32_t GetPosition() override;
  bool Write(const void* data, uint32_t length) override;
  bool GetWriteSpace(uint8_t*& data, uint32_t& length) override;
  bool CommitWrite(uint32_t length) override;
  bool ReadBytes(void* data, uint32_t capacity, uint32_t& length) override;
  // Enlarges the buffer so that `required` bytes fit; a failure changes nothing.
  virtual bool Grow(uint32_t required) = 0;

  uint32_t Capacity() const { return capacity_; }
  const uint8_t* Data() const { return data_; }

 protected:
  SmallStream() = default;

  uint8_t* data_ = nullptr;
  uint32_t length_ = 0;    // bytes of valid data
  uint32_t capacity_ = 0;  // bytes allocated
  uint32_t position_ = 0;
};

}  // namespace net
