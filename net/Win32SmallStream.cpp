#include "net/Win32SmallStream.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>

namespace net {

std::unique_ptr<Win32SmallStream> Win32SmallStream::Create() {
  return std::unique_ptr<Win32SmallStream>(new (std::nothrow) Win32SmallStream());
}

Win32SmallStream::~Win32SmallStream() { std::free(block_); }

bool Win32SmallStream::Grow(uint32_t required) {
  const uint64_t wanted = std::max(required, capacity_);
  const uint64_t rounded = (wanted + kGrowStep - 1) / kGrowStep * kGrowStep;
  if (rounded > std::numeric_limits<uint32_t>::max()) {
    return false;
  }
  if (rounded == capacity_) {
    return true;
  }
  void* grown = std::realloc(block_, static_cast<size_t>(rounded));
  if (grown == nullptr) {
    return false;  // realloc keeps the old block
  }
  block_ = grown;
  data_ = static_cast<uint8_t*>(grown);
  capacity_ = static_cast<uint32_t>(rounded);
  return true;
}

}  // namespace net
