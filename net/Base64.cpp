#include "net/Base64.h"

#include <cstdint>

namespace net {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Encodes 1 to 3 bytes into 4 characters, '=' filling for the missing ones.
void EncodeGroup(const uint8_t* in, size_t count, char* out) {
  const uint32_t bits = (uint32_t{in[0]} << 16) | (count > 1 ? uint32_t{in[1]} << 8 : 0) |
                        (count > 2 ? uint32_t{in[2]} : 0);
  out[0] = kAlphabet[(bits >> 18) & 0x3F];
  out[1] = kAlphabet[(bits >> 12) & 0x3F];
  out[2] = count > 1 ? kAlphabet[(bits >> 6) & 0x3F] : '=';
  out[3] = count > 2 ? kAlphabet[bits & 0x3F] : '=';
}

}  // namespace

bool Base64::WriteBase64(Stream& stream, Stream& source) {
  // Characters are collected and written in batches of whole groups.
  constexpr size_t kBatch = 1024;
  char out[kBatch];
  size_t used = 0;
  uint8_t group[3];
  size_t count = 0;
  uint8_t c = 0;
  while (source.ReadByte(c)) {
    group[count++] = c;
    if (count == 3) {
      EncodeGroup(group, 3, out + used);
      used += 4;
      count = 0;
      if (used == kBatch) {
        if (!stream.Write(out, static_cast<uint32_t>(used))) {
          return false;
        }
        used = 0;
      }
    }
  }
  if (count > 0) {
    EncodeGroup(group, count, out + used);
    used += 4;
  }
  return used == 0 || stream.Write(out, static_cast<uint32_t>(used));
}

std::string Base64::Encode(const void* data, size_t length) {
  const uint8_t* in = static_cast<const uint8_t*>(data);
  std::string out((length + 2) / 3 * 4, '\0');
  char* to = out.data();
  for (size_t i = 0; i < length; i += 3, to += 4) {
    EncodeGroup(in + i, length - i < 3 ? length - i : 3, to);
  }
  return out;
}

}  // namespace net
