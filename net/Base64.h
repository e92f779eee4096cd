#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace net {

// Standard base64 (RFC 4648 alphabet, '=' padding, no line breaks).
class Base64 {
 public:
  // The instructions a run of whole groups is encoded with.
  enum class Kernel { kPlain, kSsse3, kAvx2 };

  static std::string Encode(const void* data, size_t length);
  // Encodes `groups` whole groups of 3 bytes into 4 characters each.
  static void EncodeGroups(const uint8_t* in, size_t groups, char* out) {
    EncodeGroups(in, groups, out, BestKernel());
  }
  static void EncodeGroups(const uint8_t* in, size_t groups, char* out, Kernel kernel);
  // Encodes the last 1 or 2 bytes into 4 characters, '=' filling the missing ones.
  static void EncodeLastGroup(const uint8_t* in, size_t count, char* out);
  // The widest kernel this processor runs.
  static Kernel BestKernel();
};

}  // namespace net
