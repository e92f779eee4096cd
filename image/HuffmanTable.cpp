#include "image/HuffmanTable.h"

#include <cstring>

namespace image {

namespace {

// The advance of an AC symbol (see HuffmanTable::Fast).
int Advance(uint8_t sym) {
  int run = sym >> 4;
  if ((sym & 15) != 0) return run + 1;
  // A symbol without extra bits other than a run of 16 zeros ends the block.
  return run == 15 ? 16 : HuffmanTable::kEndOfBlock;
}

}  // namespace

bool HuffmanTable::Build(Class cls, const uint8_t counts[16], const uint8_t* symbols, int symbolCount) {
  static_assert(kLookupBits <= 15 && kSkipBits <= 16, "lengths and lookups must fit their fields");
  defined_ = false;
  class_ = cls;
  std::memset(codes_, 0, sizeof(codes_));
  std::memset(fast_, 0, sizeof(fast_));
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
      int size = sym & 15;
      // A DC symbol is the size of the difference; beyond 15 it is not one.
      bool usable = cls == Class::Ac || sym <= 15;
      int advance = cls == Class::Ac ? Advance(sym) : 0;
      for (uint32_t j = 0; j < span; ++j) {
        uint32_t peek = first + j;
        codes_[peek] = static_cast<uint16_t>(len << 8 | sym);
        if (!usable || len + size > kLookupBits) continue;
        int32_t value = 0;
        if (size != 0) {
          int32_t extra = static_cast<int32_t>((peek >> (kLookupBits - len - size)) & ((1u << size) - 1));
          value = extra < (1 << (size - 1)) ? extra - (1 << size) + 1 : extra;
        }
        fast_[peek] = static_cast<int32_t>(static_cast<uint32_t>(value) << 16) | advance << 8 | (len + size);
      }
    }
    limit_[len] = code << (16 - len);
    code <<= 1;
  }
  defined_ = true;
  return true;
}

void HuffmanTable::BuildSkip() {
  for (uint32_t peek = 0; peek < kSkipSize; ++peek) {
    int used = 0;
    int advance = 0;
    int before = 0;  // the advance of the symbols before the last
    int count = 0;
    for (;;) {
      uint32_t rest = (peek << used) & (kSkipSize - 1);
      int32_t found = DecodeAny(rest << (16 - kSkipBits), 1);
      if (found < 0) break;
      int len = found >> 8;
      auto sym = static_cast<uint8_t>(found & 0xFF);
      int step = Advance(sym);
      // Symbols past position 63 are no use together: the block must have ended.
      if (used + len + (sym & 15) > kSkipBits || (step != kEndOfBlock && advance + step > 63)) break;
      used += len + (sym & 15);
      before = advance;
      advance += step;
      ++count;
      if (step == kEndOfBlock) break;
    }
    uint32_t limit = count <= 1 ? 0xFF : static_cast<uint32_t>(63 - before);
    skip_[peek] = count == 0 ? 0 : limit << 16 | static_cast<uint32_t>(advance) << 8 | static_cast<uint32_t>(used);
  }
}

int32_t HuffmanTable::DecodeAny(uint32_t peek16, int firstLength) const {
  for (int len = firstLength; len <= 16; ++len) {
    if (peek16 < limit_[len]) {
      int32_t code = static_cast<int32_t>(peek16 >> (16 - len));
      int32_t index = code + offset_[len];
      if (index < 0 || index > 255) return -1;
      return len << 8 | symbols_[index];
    }
  }
  return -1;
}

int32_t HuffmanTable::Slow(uint64_t window) const {
  int32_t found = codes_[window >> (64 - kLookupBits)];
  if (found == 0) found = DecodeAny(static_cast<uint32_t>(window >> 48), kLookupBits + 1);
  if (found < 0) return 0;
  int len = found >> 8;
  auto sym = static_cast<uint8_t>(found & 0xFF);
  int size = sym & 15;
  int advance = 0;
  if (class_ == Class::Ac) {
    advance = Advance(sym);
  } else if (sym > 15) {
    return 0;
  }
  int32_t value = 0;
  if (size != 0) {
    auto extra = static_cast<int32_t>((window << len) >> (64 - size));
    value = extra < (1 << (size - 1)) ? extra - (1 << size) + 1 : extra;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(value) << 16) | advance << 8 | (len + size);
}

}  // namespace image
