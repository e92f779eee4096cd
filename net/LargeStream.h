#pragma once

#include <cstdint>

#include "net/Stream.h"

namespace net {

// A file-backed stream with a 4096-byte buffer. Writes collect in the buffer and go to
// the file when it is full or when GetSize, Seek or ReadBlock runs; reads take the file
// a buffer-full at a time. Whole buffer-fulls of a long write, and ReadBytes, go to and
// from the file directly, so bulk data costs a file call per piece rather than one per
// 4096 bytes. The file access itself is left to the platform class.
class LargeStream : public Stream {
 public:
  static constexpr uint32_t kBufferCapacity = 4096;

  ~LargeStream() override;

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
  // Reads the next buffer-full from the file into buffer_ and sets buffered_.
  virtual bool FillBuffer() = 0;
  // Writes the buffered_ bytes of buffer_ to the file.
  virtual bool FlushBuffer() = 0;
  virtual bool SeekFile(uint32_t position) = 0;
  virtual uint32_t GetFileSize() = 0;
  // Reads up to `capacity` bytes from the file into `data`; false at the end or on failure.
  virtual bool ReadFile(uint8_t* data, uint32_t capacity, uint32_t& length) = 0;
  // Writes all `length` bytes of `data` to the file.
  virtual bool WriteFile(const uint8_t* data, uint32_t length) = 0;

 protected:
  LargeStream() = default;
  // Allocates the buffer; false when memory is short.
  bool AllocateBuffer();

  uint32_t bufferCapacity_ = kBufferCapacity;
  uint8_t* buffer_ = nullptr;
  uint32_t buffered_ = 0;            // pending write bytes, or the bytes of the last chunk read
  const uint8_t* readCursor_ = nullptr;
  uint32_t remaining_ = 0;           // bytes after the read cursor
  uint32_t position_ = 0;            // logical position: moved by Seek and ReadByte only
  bool dirty_ = false;               // the buffer holds bytes not yet in the file

 private:
  // Writes pending bytes and drops any read-ahead.
  bool FlushStep();
  // Makes sure unread bytes are under the read cursor.
  bool EnsureReadable();
};

}  // namespace net
