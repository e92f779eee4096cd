#include "net/CompoundStream.h"

namespace net {

CompoundStream::CompoundStream(std::unique_ptr<Stream> first, std::unique_ptr<Stream> second)
    : first_(std::move(first)),
      second_(std::move(second)),
      firstSize_(first_->GetSize()),
      secondSize_(second_->GetSize()) {
  Seek(0);
}

CompoundStream::~CompoundStream() {
  first_.reset();
  second_.reset();
}

uint32_t CompoundStream::GetSize() { return firstSize_ + secondSize_; }

bool CompoundStream::Seek(uint32_t position) {
  position_ = position;
  if (position < firstSize_) {
    const bool firstOk = first_->Seek(position);
    const bool secondOk = second_->Seek(0);
    return firstOk && secondOk;
  }
  return second_->Seek(position - firstSize_);
}

Stream& CompoundStream::Current() { return position_ < firstSize_ ? *first_ : *second_; }

bool CompoundStream::ReadBlock(const uint8_t*& data, uint32_t& length) {
  if (!Current().ReadBlock(data, length)) {
    return false;
  }
  position_ += length;
  return true;
}

bool CompoundStream::ReadByte(uint8_t& ch) {
  if (!Current().ReadByte(ch)) {
    return false;
  }
  ++position_;
  return true;
}

bool CompoundStream::PeekByte(uint8_t& ch) { return Current().PeekByte(ch); }

uint32_t CompoundStream::GetPosition() { return position_; }

bool CompoundStream::ReadBytes(void* data, uint32_t capacity, uint32_t& length) {
  uint8_t* to = static_cast<uint8_t*>(data);
  length = 0;
  // A request that reaches past the end of the first part goes on in the second.
  while (length < capacity) {
    uint32_t got = 0;
    if (!Current().ReadBytes(to + length, capacity - length, got)) {
      break;
    }
    length += got;
    position_ += got;
  }
  return length > 0;
}

bool CompoundStream::Write(const void* /*data*/, uint32_t /*length*/) { return false; }

bool CompoundStream::GetWriteSpace(uint8_t*& /*data*/, uint32_t& /*length*/) { return false; }

bool CompoundStream::CommitWrite(uint32_t /*length*/) { return false; }

}  // namespace net
