#include "tests/image/JpegTestFiles.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace jpegtest {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1); }
void Quiet(j_common_ptr) {}

uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

uint8_t ToByte(double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)); }

void Put16(Bytes& b, bool be, uint32_t v) {
  if (be) {
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
  } else {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
  }
}

void Put32(Bytes& b, bool be, uint32_t v) {
  if (be) {
    Put16(b, be, v >> 16);
    Put16(b, be, v & 0xFFFF);
  } else {
    Put16(b, be, v & 0xFFFF);
    Put16(b, be, v >> 16);
  }
}

struct Entry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  uint32_t value;       // the value itself, or filled in with the data's offset
  Bytes data;           // data stored after the IFD (empty: value used as is)
};

// Lays out one IFD at `at` with its out-of-line data right after it.
Bytes LayOut(std::vector<Entry> entries, bool be, uint32_t at, uint32_t next) {
  Bytes b;
  uint32_t dataAt = at + 2 + 12 * static_cast<uint32_t>(entries.size()) + 4;
  Bytes data;
  Put16(b, be, static_cast<uint32_t>(entries.size()));
  for (Entry& e : entries) {
    Put16(b, be, e.tag);
    Put16(b, be, e.type);
    Put32(b, be, e.count);
    if (!e.data.empty()) {
      Put32(b, be, dataAt + static_cast<uint32_t>(data.size()));
      data.insert(data.end(), e.data.begin(), e.data.end());
    } else if (e.type == 3) {
      Put16(b, be, e.value);
      Put16(b, be, 0);
    } else {
      Put32(b, be, e.value);
    }
  }
  Put32(b, be, next);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

Bytes Text(const std::string& s) {
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

}  // namespace

RgbImage SyntheticPhoto(uint32_t width, uint32_t height, uint32_t seed) {
  RgbImage img;
  img.width = width;
  img.height = height;
  img.rgb.resize(size_t{width} * height * 3);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      double fx = static_cast<double>(x) / std::max(1u, width);
      double fy = static_cast<double>(y) / std::max(1u, height);
      double noise = static_cast<double>(Hash(x * 7919 + y * 104729 + seed) % 41) - 20;
      double sky = 200 - 120 * fy;
      bool edge = (x / 37 + y / 29) % 5 == 0;
      double r = sky * 0.6 + 80 * std::sin(fx * 9 + seed) + noise + (edge ? 60 : 0);
      double g = 100 + 90 * std::cos(fy * 7 + fx * 3) + noise * 0.5;
      double bl = sky + 40 * std::sin((fx + fy) * 13) - (edge ? 90 : 0);
      uint8_t* p = &img.rgb[(size_t{y} * width + x) * 3];
      p[0] = ToByte(r);
      p[1] = ToByte(g);
      p[2] = ToByte(bl);
    }
  }
  return img;
}

Bytes EncodeJpeg(const RgbImage& image, const EncodeOptions& o) {
  jpeg_compress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  unsigned char* mem = nullptr;
  unsigned long memLen = 0;
  std::vector<uint8_t> grey(image.width);
  if (setjmp(err.jump) != 0) {
    jpeg_destroy_compress(&cinfo);
    std::free(mem);
    return {};
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &mem, &memLen);
  cinfo.image_width = image.width;
  cinfo.image_height = image.height;
  cinfo.input_components = o.grey ? 1 : 3;
  cinfo.in_color_space = o.grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, o.quality, TRUE);
  if (!o.grey) {
    cinfo.comp_info[0].h_samp_factor = o.hSamp;
    cinfo.comp_info[0].v_samp_factor = o.vSamp;
    for (int c = 1; c < 3; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
  }
  cinfo.restart_interval = static_cast<unsigned>(o.restartInterval);
  cinfo.optimize_coding = o.optimize ? TRUE : FALSE;
  jpeg_start_compress(&cinfo, TRUE);
  for (uint32_t y = 0; y < image.height; ++y) {
    const uint8_t* src = &image.rgb[size_t{y} * image.width * 3];
    JSAMPROW row = const_cast<JSAMPROW>(src);
    if (o.grey) {
      for (uint32_t x = 0; x < image.width; ++x) {
        grey[x] = static_cast<uint8_t>((src[3 * x] * 77 + src[3 * x + 1] * 150 + src[3 * x + 2] * 29) >> 8);
      }
      row = grey.data();
    }
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(mem, mem + memLen);
  std::free(mem);
  return out;
}

bool ReferenceDecode(const Bytes& jpeg, int denom, RgbImage& out) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.output_message = Quiet;
  if (setjmp(err.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned>(denom);
  cinfo.dct_method = JDCT_ISLOW;
  cinfo.do_fancy_upsampling = FALSE;
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.width = cinfo.output_width;
  out.height = cinfo.output_height;
  out.rgb.assign(size_t{out.width} * out.height * 3, 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &out.rgb[size_t{cinfo.output_scanline} * out.width * 3];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

Bytes BuildTiff(const ExifOptions& o) {
  bool be = o.bigEndian;
  constexpr uint16_t kAscii = 2, kShort = 3, kLong = 4, kUndefined = 7;
  Bytes tiff;
  tiff.push_back(be ? 'M' : 'I');
  tiff.push_back(be ? 'M' : 'I');
  Put16(tiff, be, 42);
  Put32(tiff, be, 8);

  Bytes comment = {'A', 'S', 'C', 'I', 'I', 0, 0, 0};
  comment.insert(comment.end(), o.userComment.begin(), o.userComment.end());
  std::vector<Entry> exifEntries = {
      {36867, kAscii, static_cast<uint32_t>(o.date.size() + 1), 0, Text(o.date)},
      {37510, kUndefined, static_cast<uint32_t>(comment.size()), 0, comment},
  };
  // IFD0 entries, with the EXIF sub-IFD and IFD1 offsets patched in once known.
  std::vector<Entry> ifd0 = {
      {270, kAscii, static_cast<uint32_t>(o.description.size() + 1), 0, Text(o.description)},
      {271, kAscii, static_cast<uint32_t>(o.make.size() + 1), 0, Text(o.make)},
      {272, kAscii, static_cast<uint32_t>(o.model.size() + 1), 0, Text(o.model)},
      {34665, kLong, 1, 0, {}},
  };
  uint32_t ifd0Size = static_cast<uint32_t>(LayOut(ifd0, be, 8, 0).size());
  uint32_t exifAt = 8 + ifd0Size;
  Bytes exifIfd = LayOut(exifEntries, be, exifAt, 0);
  uint32_t ifd1At = exifAt + static_cast<uint32_t>(exifIfd.size());
  bool withThumb = !o.thumbnail.empty();
  ifd0[3].value = exifAt;
  Bytes ifd0Bytes = LayOut(ifd0, be, 8, withThumb ? ifd1At : 0);
  tiff.insert(tiff.end(), ifd0Bytes.begin(), ifd0Bytes.end());
  tiff.insert(tiff.end(), exifIfd.begin(), exifIfd.end());
  if (withThumb) {
    std::vector<Entry> ifd1 = {{259, kShort, 1, 6, {}}, {513, kLong, 1, 0, {}}, {514, kLong, 1, 0, {}}};
    uint32_t ifd1Size = static_cast<uint32_t>(LayOut(ifd1, be, ifd1At, 0).size());
    ifd1[1].value = ifd1At + ifd1Size;
    ifd1[2].value = o.zeroLength ? 0 : static_cast<uint32_t>(o.thumbnail.size());
    Bytes ifd1Bytes = LayOut(ifd1, be, ifd1At, 0);
    tiff.insert(tiff.end(), ifd1Bytes.begin(), ifd1Bytes.end());
    tiff.insert(tiff.end(), o.thumbnail.begin(), o.thumbnail.end());
  }
  return tiff;
}

Bytes InsertExif(const Bytes& jpeg, const Bytes& tiff) {
  Bytes out(jpeg.begin(), jpeg.begin() + 2);
  size_t len = tiff.size() + 8;
  out.push_back(0xFF);
  out.push_back(0xE1);
  out.push_back(static_cast<uint8_t>(len >> 8));
  out.push_back(static_cast<uint8_t>(len));
  const char prefix[6] = {'E', 'x', 'i', 'f', 0, 0};
  out.insert(out.end(), prefix, prefix + 6);
  out.insert(out.end(), tiff.begin(), tiff.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

Agreement Compare(const uint16_t* pixels, uint32_t stride, const RgbImage& ref) {
  Agreement a;
  uint64_t total = 0;
  for (uint32_t y = 0; y < ref.height; ++y) {
    for (uint32_t x = 0; x < ref.width; ++x) {
      uint16_t p = pixels[size_t{y} * stride + x];
      const uint8_t* r = &ref.rgb[(size_t{y} * ref.width + x) * 3];
      int d[3] = {std::abs((p >> 11) - (r[0] >> 3)), std::abs(((p >> 5) & 0x3F) - (r[1] >> 2)),
                  std::abs((p & 0x1F) - (r[2] >> 3))};
      for (int v : d) {
        total += static_cast<uint64_t>(v);
        a.maxSteps = std::max(a.maxSteps, v);
      }
    }
  }
  a.meanSteps = ref.width * ref.height == 0 ? 0 : static_cast<double>(total) / (3.0 * ref.width * ref.height);
  return a;
}

}  // namespace jpegtest
