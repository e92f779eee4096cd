#pragma once

#include <cstdint>
#include <memory>

#include "net/Stream.h"

namespace net {

// Two streams read one after the other without copying (header text + body).
// Read-only; owns both parts (neither may be null). Their sizes are taken once, at
// construction.
class CompoundStream : public Stream {
 public:
  CompoundStream(std::unique_ptr<Stream> first, std::unique_ptr<Stream> second);
  ~CompoundStream() override;

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

 private:
  Stream& Current();

  std::unique_ptr<Stream> first_;
  std::unique_ptr<Stream> second_;
  uint32_t firstSize_;
  uint32_t secondSize_;
  uint32_t position_ = 0;
};

}  // namespace net
