#include "net/LargeStream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace net {

LargeStream::~LargeStream() { delete[] buffer_; }

bool LargeStream::AllocateBuffer() {
  buffer_ = new (std::nothrow) uint8_t[kBufferCapacity];
  return buffer_ != nullptr;
}

bool LargeStream::FlushStep() {
  if (dirty_) {
    if (!FlushBuffer()) {
      return false;
    }
    dirty_ = false;
  }
  buffered_ = 0;
  remaining_ = 0;
  return true;
}

uint32_t LargeStream::GetSize() {
  if (!FlushStep()) {
    return 0;
  }
  return GetFileSize();
}

bool LargeStream::Seek(uint32_t position) {
  if (!FlushStep()) {
    return false;
  }
  position_ = position;
  return SeekFile(position);
}

bool LargeStream::ReadBlock(const uint8_t*& data, uint32_t& length) {
  // Bytes already read ahead for ReadByte come first; dropping them would skip
  // that part of the file.
  if (!dirty_ && remaining_ > 0) {
    data = readCursor_;
    length = remaining_;
    remaining_ = 0;
    return true;
  }
  if (!FlushStep()) {
    return false;
  }
  if (!FillBuffer()) {
    buffered_ = 0;
    return false;
  }
  data = buffer_;
  length = buffered_;
  return true;
}

bool LargeStream::EnsureReadable() {
  if (remaining_ > 0) {
    return true;
  }
  return ReadBlock(readCursor_, remaining_);
}

bool LargeStream::ReadByte(uint8_t& ch) {
  if (!EnsureReadable()) {
    return false;
  }
  ch = *readCursor_++;
  --remaining_;
  ++position_;
  return true;
}

bool LargeStream::PeekByte(uint8_t& ch) {
  if (!EnsureReadable()) {
    return false;
  }
  ch = *readCursor_;
  return true;
}

uint32_t LargeStream::GetPosition() { return position_; }

bool LargeStream::GetWriteSpace(uint8_t*& data, uint32_t& length) {
  if (!dirty_) {
    // Writing starts over the buffer: what was read ahead is no longer there.
    buffered_ = 0;
    remaining_ = 0;
  }
  if (buffered_ == bufferCapacity_ && !FlushStep()) {
    return false;
  }
  data = buffer_ + buffered_;
  length = bufferCapacity_ - buffered_;
  return true;
}

bool LargeStream::CommitWrite(uint32_t length) {
  buffered_ = std::min(bufferCapacity_, buffered_ + std::min(length, bufferCapacity_));
  dirty_ = true;
  return true;
}

bool LargeStream::ReadBytes(void* data, uint32_t capacity, uint32_t& length) {
  uint8_t* to = static_cast<uint8_t*>(data);
  length = 0;
  if (!dirty_ && remaining_ > 0) {
    length = std::min(capacity, remaining_);
    std::memcpy(to, readCursor_, length);
    readCursor_ += length;
    remaining_ -= length;
  } else if (!FlushStep()) {
    return false;
  }
  // The file position is right behind the bytes read ahead, so the rest comes from there.
  while (length < capacity) {
    uint32_t got = 0;
    if (!ReadFile(to + length, capacity - length, got)) {
      break;
    }
    length += got;
  }
  position_ += length;
  return length > 0;
}

bool LargeStream::Write(const void* data, uint32_t length) {
  const uint8_t* from = static_cast<const uint8_t*>(data);
  while (length > 0) {
    uint8_t* space = nullptr;
    uint32_t room = 0;
    if (!GetWriteSpace(space, room)) {
      return false;
    }
    if (room == bufferCapacity_ && length > bufferCapacity_) {
      // Buffer-fulls that would only pass through the empty buffer go to the file at
      // once; the last piece stays buffered as it would otherwise.
      const uint32_t direct = (length - 1) / bufferCapacity_ * bufferCapacity_;
      if (!WriteFile(from, direct)) {
        return false;
      }
      from += direct;
      length -= direct;
      continue;
    }
    const uint32_t n = std::min(room, length);
    std::memcpy(space, from, n);
    if (!CommitWrite(n)) {
      return false;
    }
    from += n;
    length -= n;
  }
  return true;
}

}  // namespace net
