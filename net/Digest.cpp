#include "net/Digest.h"

#include <bit>

namespace net {

namespace {

uint32_t LoadBigEndian(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

void ProcessBlock(uint32_t state[5], const uint8_t* block) {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t) {
    w[t] = LoadBigEndian(block + 4 * t);
  }
  for (int t = 16; t < 80; ++t) {
    w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  }
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
  for (int t = 0; t < 80; ++t) {
    uint32_t f;
    uint32_t k;
    if (t < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (t < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (t < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    const uint32_t temp = std::rotl(a, 5) + f + e + k + w[t];
    e = d;
    d = c;
    c = std::rotl(b, 30);
    b = a;
    a = temp;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
}

}  // namespace

std::array<uint8_t, Digest::kSha1Size> Digest::Sha1(const void* data, size_t length) {
  uint32_t state[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  const uint8_t* in = static_cast<const uint8_t*>(data);
  size_t left = length;
  while (left >= 64) {
    ProcessBlock(state, in);
    in += 64;
    left -= 64;
  }
  // The tail, the 0x80 marker and the 64-bit bit count fill one or two final blocks.
  uint8_t tail[128] = {};
  for (size_t i = 0; i < left; ++i) {
    tail[i] = in[i];
  }
  tail[left] = 0x80;
  const size_t tailBlocks = left + 1 + 8 <= 64 ? 1 : 2;
  const uint64_t bits = static_cast<uint64_t>(length) * 8;
  for (int i = 0; i < 8; ++i) {
    tail[tailBlocks * 64 - 1 - i] = static_cast<uint8_t>(bits >> (8 * i));
  }
  for (size_t b = 0; b < tailBlocks; ++b) {
    ProcessBlock(state, tail + 64 * b);
  }
  std::array<uint8_t, kSha1Size> digest{};
  for (int i = 0; i < 5; ++i) {
    digest[4 * i] = static_cast<uint8_t>(state[i] >> 24);
    digest[4 * i + 1] = static_cast<uint8_t>(state[i] >> 16);
    digest[4 * i + 2] = static_cast<uint8_t>(state[i] >> 8);
    digest[4 * i + 3] = static_cast<uint8_t>(state[i]);
  }
  return digest;
}

}  // namespace net
