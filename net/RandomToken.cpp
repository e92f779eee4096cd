#include "net/RandomToken.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <random>

namespace net {

namespace {

// Fills the buffer from the kernel's random source, retrying interrupted or short reads;
// should the call itself be refused, the C++ library's random device fills the rest.
void FillRandom(uint32_t* values, size_t count) {
  uint8_t* out = reinterpret_cast<uint8_t*>(values);
  size_t left = count * sizeof(uint32_t);
  while (left > 0) {
    const ssize_t got = getrandom(out, left, 0);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      std::random_device device;
      for (; left > 0; --left) {
        *out++ = static_cast<uint8_t>(device());
      }
      return;
    }
    out += got;
    left -= static_cast<size_t>(got);
  }
}

char TokenChar(uint32_t r) {
  const uint32_t k = r % 62;
  if (k < 26) {
    return static_cast<char>('a' + k);
  }
  if (k < 52) {
    return static_cast<char>('A' + (k - 26));
  }
  return static_cast<char>('0' + (k - 52));
}

}  // namespace

std::string RandomToken::MakeRandomToken() {
  uint32_t values[kLength] = {};
  FillRandom(values, kLength);
  std::string token(kLength, '\0');
  for (size_t i = 0; i < kLength; ++i) {
    token[i] = TokenChar(values[i]);
  }
  return token;
}

}  // namespace net
