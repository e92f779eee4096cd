#pragma once

#include <cstdint>

namespace image {

// A decoding table built from a DHT segment's 16 code counts and its symbols.
// Codes of up to kLookupBits bits are found with one lookup of the next bits, and
// that lookup also yields the value (a DC difference or an AC coefficient) when the
// code and its extra bits fit in those bits together.
class HuffmanTable {
 public:
  static constexpr int kLookupBits = 11;
  static constexpr int kLookupSize = 1 << kLookupBits;

  // Answers false when the counts oversubscribe the code space.
  bool Build(const uint8_t counts[16], const uint8_t* symbols, int symbolCount);
  bool Defined() const { return defined_; }

  // (length << 8) | symbol for the code starting the `kLookupBits` bits; 0 when the code is longer.
  uint16_t Lookup(uint32_t peek) const { return lookup_[peek]; }
  // (value << 8) | (run << 4) | (code length + extra bits); 0 when they do not fit.
  // End of block (or a DC difference of 0) gives just its code length (run and value
  // 0); a run of 16 zeros gives run 15 and value 0.
  int32_t ValueLookup(uint32_t peek) const { return valueLookup_[peek]; }
  // Decodes a code longer than kLookupBits from the next 16 bits: (length << 8) |
  // symbol, or -1 when no code matches.
  int32_t DecodeLong(uint32_t peek16) const;

 private:
  bool defined_ = false;
  uint16_t lookup_[kLookupSize] = {};
  int32_t valueLookup_[kLookupSize] = {};
  uint32_t limit_[17] = {};   // first 16-bit left-justified code value past the codes of each length
  int32_t offset_[17] = {};   // symbol index minus code value, per length
  uint8_t symbols_[256] = {};
};

}  // namespace image
