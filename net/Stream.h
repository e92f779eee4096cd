#pragma once

#include <cstdint>
#include <string_view>

namespace net {

// A byte stream: request bodies, answers and photo transfers all pass through one.
// Every operation reports failure as false; nothing is thrown.
// The order of the virtual operations is the same in every class of the family.
class Stream {
 public:
  // Directions of the text-conversion hook.
  static constexpr int kOutgoing = 0;
  static constexpr int kIncoming = 1;

  Stream() = default;
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  virtual ~Stream() = default;

  // Total bytes in the stream.
  virtual uint32_t GetSize() = 0;
  virtual bool Seek(uint32_t position) = 0;
  // Hands out the next run of contiguous bytes and moves past it; false when nothing is left.
  virtual bool ReadBlock(const uint8_t*& data, uint32_t& length) = 0;
  virtual bool ReadByte(uint8_t& ch) = 0;
  virtual bool PeekByte(uint8_t& ch) = 0;
  virtual uint32_t GetPosition() = 0;
  virtual bool Write(const void* data, uint32_t length) = 0;
  // Exposes contiguous writable space at the position; CommitWrite declares how much was used.
  virtual bool GetWriteSpace(uint8_t*& data, uint32_t& length) = 0;
  virtual bool CommitWrite(uint32_t length) = 0;
  // Text hook of the XML writer and reader: copies `source` into `dest` (at most
  // destSize - 1 bytes, then a NUL) and answers the number of bytes copied. Text on the
  // wire is UTF-8 exactly as the model holds it, so no class changes the bytes.
  virtual uint32_t ConvertText(std::string_view source, char* dest, uint32_t destSize, int direction);
  // Copies up to `capacity` bytes from the position into `data` and moves on as that many
  // ReadByte calls would; `length` tells how many. False when nothing is left. Bulk
  // readers (base64, request bodies) use it to skip a call per byte.
  virtual bool ReadBytes(void* data, uint32_t capacity, uint32_t& length);
};

}  // namespace net
