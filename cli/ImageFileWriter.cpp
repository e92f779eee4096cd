#include "cli/ImageFileWriter.h"

#include <png.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>

namespace cli {

namespace {

// Rows of a PPM are converted into a buffer of about this size and written in one go.
constexpr size_t kPpmBufferBytes = 1024 * 1024;

// Only plain data lives in this frame, so libpng's jump back on an error skips no
// destructor.
bool WritePngRows(std::FILE* file, const image::Bitmap& bitmap, uint8_t* row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, bitmap.Width(), bitmap.Height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (uint32_t y = 0; y < bitmap.Height(); ++y) {
    ImageFileWriter::ExpandRow(bitmap.Row(y), bitmap.Width(), row);
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

#if defined(__x86_64__) || defined(__i386__)
// Where each output byte of 16 pixels comes from in the plane of one colour
// (0x80: from another plane), for the three 16-byte thirds of the output.
struct Interleave {
  alignas(16) uint8_t from[3][3][16];  // [third][colour][byte]
};

constexpr Interleave MakeInterleave() {
  Interleave t{};
  for (int third = 0; third < 3; ++third) {
    for (int colour = 0; colour < 3; ++colour) {
      for (int j = 0; j < 16; ++j) {
        const int p = 16 * third + j;
        t.from[third][colour][j] = p % 3 == colour ? static_cast<uint8_t>(p / 3) : 0x80;
      }
    }
  }
  return t;
}
constexpr Interleave kInterleave = MakeInterleave();

// 16 pixels a step: each field is shifted to the top of a 16-bit lane, the lanes
// are packed into a plane of bytes per colour, and byte shuffles weave the three
// planes into RGB triples. Answers how many pixels were done.
__attribute__((target("ssse3"))) uint32_t ExpandSsse3(const uint16_t* pixels, uint32_t count, uint8_t* rgb) {
  uint32_t x = 0;
  const __m128i* table = reinterpret_cast<const __m128i*>(&kInterleave.from[0][0][0]);
  for (; x + 16 <= count; x += 16, rgb += 48) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x + 8));
    const __m128i red = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
    const __m128i green = _mm_packus_epi16(_mm_and_si128(_mm_srli_epi16(a, 3), _mm_set1_epi16(0xFC)),
                                           _mm_and_si128(_mm_srli_epi16(b, 3), _mm_set1_epi16(0xFC)));
    const __m128i blue = _mm_packus_epi16(_mm_and_si128(_mm_slli_epi16(a, 3), _mm_set1_epi16(0xF8)),
                                          _mm_and_si128(_mm_slli_epi16(b, 3), _mm_set1_epi16(0xF8)));
    const __m128i r = _mm_and_si128(red, _mm_set1_epi8(static_cast<char>(0xF8)));
    for (int third = 0; third < 3; ++third) {
      const __m128i woven =
          _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(r, _mm_load_si128(table + 3 * third)),
                                    _mm_shuffle_epi8(green, _mm_load_si128(table + 3 * third + 1))),
                       _mm_shuffle_epi8(blue, _mm_load_si128(table + 3 * third + 2)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb + 16 * third), woven);
    }
  }
  return x;
}
#endif

void ImageFileWriter::ExpandRow(const uint16_t* pixels, uint32_t count, uint8_t* rgb) {
  uint32_t done = 0;
#if defined(__x86_64__) || defined(__i386__)
  static const bool vector = __builtin_cpu_supports("ssse3");
  if (vector) done = ExpandSsse3(pixels, count, rgb);
#endif
  rgb += 3 * size_t{done};
  for (uint32_t x = done; x < count; ++x, rgb += 3) {
    const uint32_t v = pixels[x];
    rgb[0] = static_cast<uint8_t>((v >> 8) & 0xF8);
    rgb[1] = static_cast<uint8_t>((v >> 3) & 0xFC);
    rgb[2] = static_cast<uint8_t>((v << 3) & 0xF8);
  }
}

bool ImageFileWriter::WritePng(const std::string& path, const image::Bitmap& bitmap) {
  std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[size_t{bitmap.Width()} * 3]);
  if (!row) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = WritePngRows(file, bitmap, row.get());
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

bool ImageFileWriter::WritePpm(const std::string& path, const image::Bitmap& bitmap) {
  const size_t rowBytes = size_t{bitmap.Width()} * 3;
  const uint32_t rowsAtOnce = static_cast<uint32_t>(std::max<size_t>(1, kPpmBufferBytes / std::max<size_t>(rowBytes, 1)));
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[rowBytes * rowsAtOnce]);
  if (!buffer) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fprintf(file, "P6\n%u %u\n255\n", bitmap.Width(), bitmap.Height()) > 0;
  for (uint32_t y = 0; ok && y < bitmap.Height(); y += rowsAtOnce) {
    const uint32_t rows = std::min(rowsAtOnce, bitmap.Height() - y);
    for (uint32_t i = 0; i < rows; ++i) ExpandRow(bitmap.Row(y + i), bitmap.Width(), buffer.get() + i * rowBytes);
    ok = std::fwrite(buffer.get(), 1, rows * rowBytes, file) == rows * rowBytes;
  }
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

}  // namespace cli
