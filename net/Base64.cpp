#include "net/Base64.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TESSARY_X86 1
#endif

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

// Two groups at a time come from one 8-byte load while at least 8 bytes are left.
void EncodePlain(const uint8_t* in, size_t groups, char* out) {
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

#ifdef TESSARY_X86
// The vector kernels take 4 groups (12 bytes) per 128-bit lane: a byte shuffle
// spreads each group over 32 bits, two multiplies move the four 6-bit values to
// the four bytes, and a 16-entry table, picked by the value's range, gives what
// to add to turn each value into its letter.

// Bytes 1 0 2 1 of every group, so that each 6-bit value lies in one 16-bit half.
#define TESSARY_BASE64_SPREAD 1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10
// What to add for the ranges 0..25 (13), 26..51 (0), 52..61 (1..10), 62 (11), 63 (12).
#define TESSARY_BASE64_OFFSETS \
  'a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, \
      '+' - 62, '/' - 63, 'A', 0, 0

__attribute__((target("ssse3"))) size_t EncodeSsse3(const uint8_t* in, size_t groups, char* out) {
  const __m128i spread = _mm_setr_epi8(TESSARY_BASE64_SPREAD);
  const __m128i offsets = _mm_setr_epi8(TESSARY_BASE64_OFFSETS);
  size_t done = 0;
  // Each step loads 16 bytes and uses 12, so 16 must be left.
  for (; groups - done >= 6; done += 4, in += 12, out += 16) {
    __m128i v = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), spread);
    const __m128i high = _mm_mulhi_epu16(_mm_and_si128(v, _mm_set1_epi32(0x0FC0FC00)), _mm_set1_epi32(0x04000040));
    const __m128i low = _mm_mullo_epi16(_mm_and_si128(v, _mm_set1_epi32(0x003F03F0)), _mm_set1_epi32(0x01000010));
    const __m128i values = _mm_or_si128(high, low);
    __m128i range = _mm_subs_epu8(values, _mm_set1_epi8(51));
    range = _mm_or_si128(range, _mm_and_si128(_mm_cmpgt_epi8(_mm_set1_epi8(26), values), _mm_set1_epi8(13)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_add_epi8(_mm_shuffle_epi8(offsets, range), values));
  }
  return done;
}

__attribute__((target("avx2"))) size_t EncodeAvx2(const uint8_t* in, size_t groups, char* out) {
  const __m256i spread = _mm256_setr_epi8(TESSARY_BASE64_SPREAD, TESSARY_BASE64_SPREAD);
  const __m256i offsets = _mm256_setr_epi8(TESSARY_BASE64_OFFSETS, TESSARY_BASE64_OFFSETS);
  size_t done = 0;
  // Each step loads 16 bytes at 0 and at 12 and uses 24, so 28 must be left.
  for (; groups - done >= 10; done += 8, in += 24, out += 32) {
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 12));
    const __m256i v = _mm256_shuffle_epi8(_mm256_set_m128i(second, first), spread);
    const __m256i high =
        _mm256_mulhi_epu16(_mm256_and_si256(v, _mm256_set1_epi32(0x0FC0FC00)), _mm256_set1_epi32(0x04000040));
    const __m256i low =
        _mm256_mullo_epi16(_mm256_and_si256(v, _mm256_set1_epi32(0x003F03F0)), _mm256_set1_epi32(0x01000010));
    const __m256i values = _mm256_or_si256(high, low);
    __m256i range = _mm256_subs_epu8(values, _mm256_set1_epi8(51));
    range = _mm256_or_si256(range,
                            _mm256_and_si256(_mm256_cmpgt_epi8(_mm256_set1_epi8(26), values), _mm256_set1_epi8(13)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                        _mm256_add_epi8(_mm256_shuffle_epi8(offsets, range), values));
  }
  return done;
}

#undef TESSARY_BASE64_SPREAD
#undef TESSARY_BASE64_OFFSETS
#endif

}  // namespace

Base64::Kernel Base64::BestKernel() {
#ifdef TESSARY_X86
  static const Kernel best = __builtin_cpu_supports("avx2")    ? Kernel::kAvx2
                             : __builtin_cpu_supports("ssse3") ? Kernel::kSsse3
                                                               : Kernel::kPlain;
  return best;
#else
  return Kernel::kPlain;
#endif
}

void Base64::EncodeGroups(const uint8_t* in, size_t groups, char* out, Kernel kernel) {
  size_t done = 0;
#ifdef TESSARY_X86
  if (kernel == Kernel::kAvx2) {
    done = EncodeAvx2(in, groups, out);
  } else if (kernel == Kernel::kSsse3) {
    done = EncodeSsse3(in, groups, out);
  }
#else
  (void)kernel;
#endif
  EncodePlain(in + 3 * done, groups - done, out + 4 * done);
}

void Base64::EncodeLastGroup(const uint8_t* in, size_t count, char* out) {
  const uint32_t bits = (uint32_t{in[0]} << 16) | (count > 1 ? uint32_t{in[1]} << 8 : 0);
  out[0] = kAlphabet[(bits >> 18) & 0x3F];
  out[1] = kAlphabet[(bits >> 12) & 0x3F];
  out[2] = count > 1 ? kAlphabet[(bits >> 6) & 0x3F] : '=';
  out[3] = '=';
}

std::string Base64::Encode(const void* data, size_t length) {
  const uint8_t* in = static_cast<const uint8_t*>(data);
  std::string out((length + 2) / 3 * 4, '\0');
  const size_t groups = length / 3;
  EncodeGroups(in, groups, out.data());
  if (length > groups * 3) EncodeLastGroup(in + groups * 3, length - groups * 3, out.data() + groups * 4);
  return out;
}

}  // namespace net
