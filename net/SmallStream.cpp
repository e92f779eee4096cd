#include "net/SmallStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace net {

uint32_t SmallStream::GetSize() { return length_; }

uint32_t SmallStream::GetPosition() { return position_; }

bool SmallStream::Seek(uint32_t position) {
  if (position > length_) {
    position_ = length_;
    return false;
  }
  position_ = position;
  return true;
}

bool SmallStream::ReadBlock(const uint8_t*& data, uint32_t& length) {
  data = data_ + position_;
  length = length_ - position_;
  position_ = length_;
  return length != 0;
}

bool SmallStream::ReadByte(uint8_t& ch) {
  if (position_ >= length_) {
    return false;
  }
  ch = data_[position_++];
  return true;
}

bool SmallStream::PeekByte(uint8_t& ch) {
  if (position_ >= length_) {
    return false;
  }
  ch = data_[position_];
  return true;
}

bool SmallStream::Write(const void* data, uint32_t length) {
  if (length > std::numeric_limits<uint32_t>::max() - position_) {
    return false;
  }
  const uint32_t end = position_ + length;
  // A write that would exactly fill the buffer asks for more room too.
  if (end >= capacity_ && !Grow(end)) {
    return false;
  }
  if (length > 0) {
    std::memcpy(data_ + position_, data, length);
  }
  position_ = end;
  if (length_ < position_) {
    length_ = position_;
  }
  return true;
}

bool SmallStream::GetWriteSpace(uint8_t*& data, uint32_t& length) {
  // A full buffer must grow by at least one byte: exposing no space would leave a
  // caller that loops on GetWriteSpace without progress.
  if (position_ == capacity_) {
    if (position_ == std::numeric_limits<uint32_t>::max() || !Grow(position_ + 1)) {
      return false;
    }
  }
  data = data_ + position_;
  length = capacity_ - position_;
  return true;
}

bool SmallStream::CommitWrite(uint32_t length) {
  if (length > capacity_ - position_) {
    return false;
  }
  position_ += length;
  if (length_ < position_) {
    length_ = position_;
  }
  return true;
}

bool SmallStream::ReadBytes(void* data, uint32_t capacity, uint32_t& length) {
  length = position_ < length_ ? std::min(capacity, length_ - position_) : 0;
  if (length == 0) {
    return false;
  }
  std::memcpy(data, data_ + position_, length);
  position_ += length;
  return true;
}

}  // namespace net
