#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

namespace server {

// Makes room for `needed` bytes (at most `limit`) in a buffer that grows as a
// body arrives: doubling, and straight to the limit once past half of it, so
// that a body never needs more than one and a half times the limit while it
// moves (std::string::reserve alone would round up to double, past the limit).
inline void GrowBuffer(std::string& buffer, size_t needed, size_t limit) {
  if (buffer.capacity() >= needed) return;
  size_t room = std::max(needed, buffer.capacity() * 2);
  if (room > limit / 2) room = std::max(needed, limit);
  std::string bigger;
  bigger.reserve(room);
  bigger.append(buffer);
  buffer.swap(bigger);
}

}  // namespace server
