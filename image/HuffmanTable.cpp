#include "image/HuffmanTable.h"

#include <cstring>

namespace image {

bool HuffmanTable::Build(const uint8_t counts[16], const uint8_t* symbols, int symbolCount) {
  defined_ = false;
  std::memset(lookup_, 0, sizeof(lookup_));
  std::memset(valueLookup_, 0, sizeof(valueLookup_));
  std::memcpy(symbols_, symbols, static_cast<size_t>(symbolCount));

  uint32_t code = 0;
  int index = 0;
  for (int len = 1; len <= 16; ++len) {
    int n = counts[len - 1];
    offset_[len] = index - static_cast<int32_t>(code);
    for (int i = 0; i < n; ++i, ++index, ++code) {
      if (code >= (1u << len)) return false;  // more codes than the length can hold
      if (len > kLookupBits) continue;
      uint32_t first = code << (kLookupBits - len);
      uint32_t span = 1u << (kLookupBits - len);
      uint8_t sym = symbols_[index];
      for (uint32_t j = 0; j < span; ++j) {
        uint32_t peek = first + j;
        lookup_[peek] = static_cast<uint16_t>(len << 8 | sym);
        int run = sym >> 4;
        int size = sym & 15;
        if (size == 0) {
          // End of block, or a run of 16 zeros (15 zeros and a zero coefficient).
          if (sym == 0x00 || sym == 0xF0) valueLookup_[peek] = run << 4 | len;
          continue;
        }
        if (len + size > kLookupBits) continue;
        int32_t extra = static_cast<int32_t>((peek >> (kLookupBits - len - size)) & ((1u << size) - 1));
        int32_t value = extra < (1 << (size - 1)) ? extra - (1 << size) + 1 : extra;
        valueLookup_[peek] = value * 256 + (run << 4 | (len + size));
      }
    }
    limit_[len] = code << (16 - len);
    code <<= 1;
  }
  defined_ = true;
  return true;
}

int32_t HuffmanTable::DecodeLong(uint32_t peek16) const {
  for (int len = kLookupBits + 1; len <= 16; ++len) {
    if (peek16 < limit_[len]) {
      int32_t code = static_cast<int32_t>(peek16 >> (16 - len));
      int32_t index = code + offset_[len];
      if (index < 0 || index > 255) return -1;
      return len << 8 | symbols_[index];
    }
  }
  return -1;
}

}  // namespace image
