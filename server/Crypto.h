#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace server {

// Digests, base64 and random values for authentication and photo names.
class Crypto {
 public:
  // base64 of the SHA-1 digest of the bytes.
  static std::string Sha1Base64(std::string_view data);
  static std::string Base64Encode(std::string_view bytes);
  // Standard alphabet with "=" padding; blanks and line breaks are skipped.
  // False for any other byte or a malformed end.
  static bool Base64Decode(std::string_view text, std::string& out);
  // Compares without an early exit, so timing does not reveal where texts differ.
  static bool ConstantTimeEquals(std::string_view a, std::string_view b);
  // bytes random bytes from the system's generator, as lowercase hex.
  static std::string RandomHex(size_t bytes);
  // HMAC-SHA-256 of the data under the key, as lowercase hex.
  static std::string HmacSha256Hex(std::string_view key, std::string_view data);
};

}  // namespace server
