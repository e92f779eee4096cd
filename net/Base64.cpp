#include "net/Base64.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace net {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The two characters of every 12-bit value, so a group of 3 bytes takes two lookups.
constexpr std::array<char, 2 * 4096> MakePairs() {
  std::array<char, 2 * 4096> pairs{};
  for (size_t i = 0; i < 4096; ++i) {
    pairs[2 * i] = kAlphabet[i >> 6];
    pairs[2 * i + 1] = kAlphabet[i & 0x3F];
  }
  return pairs;
}
constexpr std::array<char, 2 * 4096> kPairs = MakePairs();

// Encodes 1 to 3 bytes into 4 characters, '=' filling for the missing ones.
void EncodeGroup(const uint8_t* in, size_t count, char* out) {
  const uint32_t bits = (uint32_t{in[0]} << 16) | (count > 1 ? uint32_t{in[1]} << 8 : 0) |
                        (count > 2 ? uint32_t{in[2]} : 0);
  out[0] = kAlphabet[(bits >> 18) & 0x3F];
  out[1] = kAlphabet[(bits >> 12) & 0x3F];
  out[2] = count > 1 ? kAlphabet[(bits >> 6) & 0x3F] : '=';
  out[3] = count > 2 ? kAlphabet[bits & 0x3F] : '=';
}

// Encodes `groups` whole groups of 3 bytes into 4 characters each. Two groups at a
// time come from one 8-byte load while at least 8 bytes are left to load.
void EncodeGroups(const uint8_t* in, size_t groups, char* out) {
  size_t g = 0;
  for (; g + 3 <= groups; g += 2, in += 6, out += 8) {
    uint64_t word = 0;
    std::memcpy(&word, in, 8);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    std::memcpy(out, &kPairs[2 * ((word >> 52) & 0xFFF)], 2);
    std::memcpy(out + 2, &kPairs[2 * ((word >> 40) & 0xFFF)], 2);
    std::memcpy(out + 4, &kPairs[2 * ((word >> 28) & 0xFFF)], 2);
    std::memcpy(out + 6, &kPairs[2 * ((word >> 16) & 0xFFF)], 2);
  }
  for (; g < groups; ++g, in += 3, out += 4) {
    const uint32_t bits = (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | uint32_t{in[2]};
    std::memcpy(out, &kPairs[2 * (bits >> 12)], 2);
    std::memcpy(out + 2, &kPairs[2 * (bits & 0xFFF)], 2);
  }
}

}  // namespace

bool Base64::WriteBase64(Stream& stream, Stream& source) {
  // The source is taken in large pieces and each piece's characters go out in one
  // write; 0 to 2 bytes of an unfinished group wait for the next piece.
  constexpr uint32_t kPiece = 3 * 65536;
  constexpr size_t kCharacters = kPiece / 3 * 4;
  std::unique_ptr<uint8_t[]> in(new (std::nothrow) uint8_t[kPiece]);
  std::unique_ptr<char[]> out(new (std::nothrow) char[kCharacters]);
  if (!in || !out) {
    return false;
  }
  uint32_t held = 0;
  uint32_t got = 0;
  while (source.ReadBytes(in.get() + held, kPiece - held, got)) {
    held += got;
    const uint32_t groups = held / 3;
    EncodeGroups(in.get(), groups, out.get());
    if (groups > 0 && !stream.Write(out.get(), groups * 4)) {
      return false;
    }
    const uint32_t rest = held - groups * 3;
    std::memmove(in.get(), in.get() + groups * 3, rest);
    held = rest;
  }
  if (held == 0) {
    return true;
  }
  char last[4];
  EncodeGroup(in.get(), held, last);
  return stream.Write(last, 4);
}

std::string Base64::Encode(const void* data, size_t length) {
  const uint8_t* in = static_cast<const uint8_t*>(data);
  std::string out((length + 2) / 3 * 4, '\0');
  const size_t groups = length / 3;
  EncodeGroups(in, groups, out.data());
  if (length > groups * 3) {
    EncodeGroup(in + groups * 3, length - groups * 3, out.data() + groups * 4);
  }
  return out;
}

}  // namespace net
