#include "net/Stream.h"

#include <algorithm>
#include <cstring>

namespace net {

uint32_t Stream::ConvertText(std::string_view source, char* dest, uint32_t destSize, int /*direction*/) {
  if (destSize == 0) {
    return 0;
  }
  const uint32_t n = static_cast<uint32_t>(std::min<size_t>(source.size(), destSize - 1));
  if (n > 0) {
    std::memcpy(dest, source.data(), n);
  }
  dest[n] = '\0';
  return n;
}

bool Stream::ReadBytes(void* data, uint32_t capacity, uint32_t& length) {
  uint8_t* to = static_cast<uint8_t*>(data);
  length = 0;
  while (length < capacity && ReadByte(to[length])) {
    ++length;
  }
  return length > 0;
}

}  // namespace net
