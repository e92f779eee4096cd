#include "cli/ImageFileWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace cli {

namespace {

// Only plain data lives in this frame, so libpng's jump back on an error skips no
// destructor.
bool WritePngRows(std::FILE* file, uint32_t width, uint32_t height, const uint8_t* rgb) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (uint32_t y = 0; y < height; ++y) {
    png_write_row(png, const_cast<png_bytep>(rgb + static_cast<size_t>(y) * width * 3));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool ImageFileWriter::WritePng(const std::string& path, uint32_t width, uint32_t height,
                               const std::vector<uint8_t>& rgb) {
  if (rgb.size() != static_cast<size_t>(width) * height * 3) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = WritePngRows(file, width, height, rgb.data());
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

bool ImageFileWriter::WritePpm(const std::string& path, uint32_t width, uint32_t height,
                               const std::vector<uint8_t>& rgb) {
  if (rgb.size() != static_cast<size_t>(width) * height * 3) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fprintf(file, "P6\n%u %u\n255\n", width, height) > 0 &&
            std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

}  // namespace cli
