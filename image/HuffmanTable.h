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
  static constexpr int kSkipBits = 12;
  static constexpr int kSkipSize = 1 << kSkipBits;
  // The advance of an end of block: more than any run can reach, so that one test of
  // the position ends the block either way.
  static constexpr int kEndOfBlock = 0x80;

  enum class Class { Dc, Ac };

  // Answers false when the counts oversubscribe the code space.
  bool Build(Class cls, const uint8_t counts[16], const uint8_t* symbols, int symbolCount);
  bool Defined() const { return defined_; }

  // One symbol with its extra bits from the next kLookupBits bits, as
  // (value << 16) | (advance << 8) | (code length + extra bits), or 0 when they do not
  // fit. The advance is that of the zigzag position: run + 1 for a coefficient, 16 for
  // a run of 16 zeros, kEndOfBlock for the end of a block; 0 for DC differences.
  int32_t Fast(uint32_t peek) const { return fast_[peek]; }

  // Prepares Skip() of an AC table.
  void BuildSkip();
  // As many whole AC symbols as the next kSkipBits bits hold, up to and including an
  // end of block, for passing over coefficients unread: (limit << 16) | (advance << 8)
  // | bits, where the advance adds up the symbols' advances. The symbols may all be
  // taken at once only at a position up to `limit`: from there on, one of them before
  // the last could end the block. 0 when not even one symbol fits.
  uint32_t Skip(uint32_t peek) const { return skip_[peek]; }

  // The symbol at the top of `window` (at least 31 valid bits) as Fast() gives it, for
  // when Fast() answers 0: the length may then reach 31 bits. 0 when no code matches
  // or a DC symbol is not a size.
  [[gnu::noinline]] int32_t Slow(uint64_t window) const;

 private:
  // The code at the top of `peek16`, of `firstLength` bits or more: (length << 8) |
  // symbol, or -1.
  int32_t DecodeAny(uint32_t peek16, int firstLength) const;

  bool defined_ = false;
  Class class_ = Class::Dc;
  uint32_t limit_[17] = {};  // first 16-bit left-justified code value past the codes of each length
  int32_t offset_[17] = {};  // symbol index minus code value, per length
  uint8_t symbols_[256] = {};
  // The lookups are filled by Build() and BuildSkip(), and read only after them.
  uint16_t codes_[kLookupSize];  // (length << 8) | symbol of the codes of up to kLookupBits bits
  int32_t fast_[kLookupSize];
  uint32_t skip_[kSkipSize];
};

}  // namespace image
