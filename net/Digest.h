#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace net {

// The SHA-1 digest used by request authentication.
class Digest {
 public:
  static constexpr size_t kSha1Size = 20;

  // SHA-1 (FIPS 180-1) of the bytes, in the standard big-endian byte order.
  static std::array<uint8_t, kSha1Size> Sha1(const void* data, size_t length);
};

}  // namespace net
