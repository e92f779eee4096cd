#pragma once

#include <cstddef>
#include <string>

#include "net/Stream.h"

namespace net {

// Standard base64 (RFC 4648 alphabet, '=' padding, no line breaks).
class Base64 {
 public:
  // Reads `source` to its end (as ReadByte would) and writes its encoding to `stream`.
  // An empty source writes nothing and succeeds.
  static bool WriteBase64(Stream& stream, Stream& source);
  static std::string Encode(const void* data, size_t length);
};

}  // namespace net
