#include "server/JpegCodec.h"

#include <algorithm>
#include <cstdio>
#include <csetjmp>
#include <cstdlib>
// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace server {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool truncated;
};

void OnError(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(err->jump, 1);
}

// Warnings are quiet; a premature end of data marks the picture as unusable
// instead of letting libjpeg fill the missing part with grey.
void OnMessage(j_common_ptr info, int level) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) err->truncated = true;
}

void Silent(j_common_ptr) {}

void InstallErrors(ErrorManager& err) {
  jpeg_std_error(&err.base);
  err.base.error_exit = OnError;
  err.base.emit_message = OnMessage;
  err.base.output_message = Silent;
  err.truncated = false;
}

bool HasJpegStart(std::string_view jpeg) {
  return jpeg.size() >= 4 && static_cast<unsigned char>(jpeg[0]) == 0xFF &&
         static_cast<unsigned char>(jpeg[1]) == 0xD8 && static_cast<unsigned char>(jpeg[2]) == 0xFF;
}

// Adobe CMYK JPEGs store inverted ink values.
void CmykToRgb(const JSAMPLE* cmyk, uint8_t* rgb, int width) {
  for (int x = 0; x < width; ++x) {
    int k = cmyk[x * 4 + 3];
    for (int c = 0; c < 3; ++c) rgb[x * 3 + c] = static_cast<uint8_t>(cmyk[x * 4 + c] * k / 255);
  }
}

// Everything that must survive a longjmp lives outside the function that calls setjmp.
struct DecodeState {
  jpeg_decompress_struct info;
  ErrorManager err;
  JSAMPLE* row = nullptr;
};

bool DecodeInto(DecodeState& state, std::string_view jpeg, int minLongest, RgbImage& image) {
  jpeg_decompress_struct& info = state.info;
  if (setjmp(state.err.jump) != 0) return false;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
  if (static_cast<long long>(info.image_width) * info.image_height > JpegCodec::kMaxPixels) return false;
  bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  info.scale_num = 8;
  info.scale_denom = 8;
  if (minLongest > 0) {
    for (unsigned eighths = 1; eighths < 8; ++eighths) {
      info.scale_num = eighths;
      jpeg_calc_output_dimensions(&info);
      if (std::max(info.output_width, info.output_height) >= static_cast<unsigned>(minLongest)) break;
      info.scale_num = 8;
    }
  }
  jpeg_start_decompress(&info);
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  image.pixels.assign(static_cast<size_t>(image.width) * image.height * 3, 0);
  state.row = static_cast<JSAMPLE*>(std::malloc(static_cast<size_t>(info.output_width) * info.output_components));
  if (state.row == nullptr) return false;
  while (info.output_scanline < info.output_height) {
    size_t y = info.output_scanline;
    JSAMPROW rows[1] = {state.row};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) return false;
    uint8_t* out = image.pixels.data() + y * image.width * 3;
    if (cmyk) {
      CmykToRgb(state.row, out, image.width);
    } else {
      for (int i = 0; i < image.width * 3; ++i) out[i] = state.row[i];
    }
  }
  jpeg_finish_decompress(&info);
  return !state.err.truncated;
}

struct EncodeState {
  jpeg_compress_struct info;
  ErrorManager err;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

bool EncodeInto(EncodeState& state, const RgbImage& image, int quality) {
  jpeg_compress_struct& info = state.info;
  if (setjmp(state.err.jump) != 0) return false;
  jpeg_mem_dest(&info, &state.buffer, &state.size);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row[1] = {const_cast<JSAMPLE*>(image.pixels.data() + size_t(info.next_scanline) * image.width * 3)};
    jpeg_write_scanlines(&info, row, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

bool ReadHeader(std::string_view jpeg, int& width, int& height, bool& progressive) {
  if (!HasJpegStart(jpeg)) return false;
  DecodeState state;
  state.info.err = &state.err.base;
  InstallErrors(state.err);
  jpeg_create_decompress(&state.info);
  bool ok = false;
  if (setjmp(state.err.jump) == 0) {
    jpeg_mem_src(&state.info, reinterpret_cast<const unsigned char*>(jpeg.data()),
                 static_cast<unsigned long>(jpeg.size()));
    if (jpeg_read_header(&state.info, TRUE) == JPEG_HEADER_OK) {
      width = static_cast<int>(state.info.image_width);
      height = static_cast<int>(state.info.image_height);
      progressive = state.info.progressive_mode != 0;
      ok = true;
    }
  }
  jpeg_destroy_decompress(&state.info);
  return ok;
}

}  // namespace

bool JpegCodec::ReadSize(std::string_view jpeg, int& width, int& height) {
  bool progressive = false;
  return ReadHeader(jpeg, width, height, progressive);
}

size_t JpegCodec::DecodeMemory(std::string_view jpeg) {
  int width = 0;
  int height = 0;
  bool progressive = false;
  if (!ReadHeader(jpeg, width, height, progressive) || !progressive) return 0;
  // Two bytes per coefficient, three full-size components at most.
  return static_cast<size_t>(width) * static_cast<size_t>(height) * 6;
}

bool JpegCodec::Decode(std::string_view jpeg, int minLongest, RgbImage& image) {
  if (!HasJpegStart(jpeg)) return false;
  DecodeState state;
  state.info.err = &state.err.base;
  InstallErrors(state.err);
  jpeg_create_decompress(&state.info);
  bool ok = DecodeInto(state, jpeg, minLongest, image);
  std::free(state.row);
  jpeg_destroy_decompress(&state.info);
  if (!ok) image = RgbImage{};
  return ok;
}

bool JpegCodec::Encode(const RgbImage& image, int quality, std::string& jpeg) {
  if (image.width <= 0 || image.height <= 0 || image.pixels.size() != size_t(image.width) * image.height * 3) {
    return false;
  }
  EncodeState state;
  state.info.err = &state.err.base;
  InstallErrors(state.err);
  jpeg_create_compress(&state.info);
  bool ok = EncodeInto(state, image, quality);
  if (ok) jpeg.assign(reinterpret_cast<const char*>(state.buffer), state.size);
  jpeg_destroy_compress(&state.info);
  std::free(state.buffer);
  return ok;
}

}  // namespace server
