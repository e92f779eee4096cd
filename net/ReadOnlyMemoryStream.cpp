#include "net/ReadOnlyMemoryStream.h"

namespace net {

ReadOnlyMemoryStream::ReadOnlyMemoryStream(const void* data, uint32_t length) {
  // The memory is only ever read: every writing operation below refuses.
  data_ = static_cast<uint8_t*>(const_cast<void*>(data));
  length_ = length;
  capacity_ = length;
  position_ = 0;
}

bool ReadOnlyMemoryStream::Write(const void* /*data*/, uint32_t /*length*/) { return false; }

bool ReadOnlyMemoryStream::GetWriteSpace(uint8_t*& /*data*/, uint32_t& /*length*/) { return false; }

bool ReadOnlyMemoryStream::CommitWrite(uint32_t /*length*/) { return false; }

bool ReadOnlyMemoryStream::Grow(uint32_t /*required*/) { return false; }

}  // namespace net
