#include "net/Base64Stream.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "net/Base64.h"

namespace net {

std::unique_ptr<Base64Stream> Base64Stream::Create(std::unique_ptr<Stream> source) {
  // The text of more than 3 GB would not have a 32-bit size.
  if (!source || source->GetSize() > 0xFFFFFFFFu / 4 * 3) return nullptr;
  std::unique_ptr<uint8_t[]> piece(new (std::nothrow) uint8_t[kSourcePiece]);
  if (!piece) return nullptr;
  return std::unique_ptr<Base64Stream>(new (std::nothrow) Base64Stream(std::move(source), std::move(piece)));
}

Base64Stream::Base64Stream(std::unique_ptr<Stream> source, std::unique_ptr<uint8_t[]> piece)
    : source_(std::move(source)), piece_(std::move(piece)) {
  sourceSize_ = source_->GetSize();
  size_ = (sourceSize_ + 2) / 3 * 4;
  source_->Seek(0);
}

bool Base64Stream::Take(uint32_t count) {
  uint32_t have = 0;
  while (have < count) {
    uint32_t got = 0;
    if (!source_->ReadBytes(piece_.get() + have, count - have, got)) return false;
    have += got;
  }
  taken_ += count;
  return true;
}

bool Base64Stream::FillText() {
  textStart_ = textEnd_ = 0;
  const uint32_t count = std::min(sourceSize_ - taken_, kTextCapacity / 4 * 3);
  if (count == 0 || !Take(count)) return false;
  const uint32_t groups = count / 3;
  Base64::EncodeGroups(piece_.get(), groups, text_);
  textEnd_ = groups * 4;
  if (count > groups * 3) {
    Base64::EncodeLastGroup(piece_.get() + groups * 3, count - groups * 3, text_ + textEnd_);
    textEnd_ += 4;
  }
  return true;
}

bool Base64Stream::Seek(uint32_t position) {
  const bool inside = position <= size_;
  if (!inside) position = size_;
  const uint32_t group = position / 4;
  textStart_ = textEnd_ = 0;
  position_ = group * 4;
  taken_ = group * 3;
  if (!source_->Seek(taken_)) return false;
  if (position > position_) {
    if (!FillText()) return false;
    textStart_ = position - position_;
    position_ = position;
  }
  return inside;
}

bool Base64Stream::ReadBytes(void* data, uint32_t capacity, uint32_t& length) {
  char* out = static_cast<char*>(data);
  length = 0;
  while (length < capacity) {
    if (HasText()) {
      const uint32_t n = std::min(capacity - length, textEnd_ - textStart_);
      std::memcpy(out + length, text_ + textStart_, n);
      textStart_ += n;
      position_ += n;
      length += n;
      continue;
    }
    // Whole groups that fit go straight into the reader's memory.
    const uint32_t groups =
        std::min({(capacity - length) / 4, (sourceSize_ - taken_) / 3, kSourcePiece / 3});
    if (groups > 0) {
      if (!Take(groups * 3)) break;
      Base64::EncodeGroups(piece_.get(), groups, out + length);
      position_ += groups * 4;
      length += groups * 4;
    } else if (!FillText()) {
      break;
    }
  }
  return length > 0;
}

bool Base64Stream::ReadBlock(const uint8_t*& data, uint32_t& length) {
  if (!HasText() && !FillText()) return false;
  data = reinterpret_cast<const uint8_t*>(text_ + textStart_);
  length = textEnd_ - textStart_;
  position_ += length;
  textStart_ = textEnd_;
  return true;
}

bool Base64Stream::ReadByte(uint8_t& ch) {
  if (!PeekByte(ch)) return false;
  ++textStart_;
  ++position_;
  return true;
}

bool Base64Stream::PeekByte(uint8_t& ch) {
  if (!HasText() && !FillText()) return false;
  ch = static_cast<uint8_t>(text_[textStart_]);
  return true;
}

bool Base64Stream::Write(const void* /*data*/, uint32_t /*length*/) { return false; }

bool Base64Stream::GetWriteSpace(uint8_t*& /*data*/, uint32_t& /*length*/) { return false; }

bool Base64Stream::CommitWrite(uint32_t /*length*/) { return false; }

}  // namespace net
