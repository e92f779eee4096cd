#include "image/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace image {

namespace {

// libjpeg's fatal errors come back here instead of ending the process.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void OnFatalError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void Quiet(j_common_ptr) {}

// Only plain data lives in this frame, so the jump back from libjpeg skips no
// destructor; the row buffer belongs to the caller.
bool Compress(const Bitmap& bitmap, std::FILE* file, int quality, uint8_t* row) {
  jpeg_compress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnFatalError;
  err.pub.output_message = Quiet;
  if (setjmp(err.jump) != 0) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = bitmap.Width();
  cinfo.image_height = bitmap.Height();
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  for (uint32_t y = 0; y < bitmap.Height(); ++y) {
    const uint16_t* src = bitmap.Row(y);
    for (uint32_t x = 0; x < bitmap.Width(); ++x) {
      uint16_t v = src[x];
      row[3 * x] = static_cast<uint8_t>((v >> 8) & 0xF8);
      row[3 * x + 1] = static_cast<uint8_t>((v >> 3) & 0xFC);
      row[3 * x + 2] = static_cast<uint8_t>((v << 3) & 0xFF);
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

bool WriteBitmapAsJpeg(const Bitmap& bitmap, const std::string& hostPath, int quality) {
  if (bitmap.Width() == 0 || bitmap.Height() == 0) return false;
  std::vector<uint8_t> row;
  try {
    row.resize(size_t{bitmap.Width()} * 3);
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::FILE* file = std::fopen(hostPath.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = Compress(bitmap, file, quality, row.data());
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

}  // namespace image
