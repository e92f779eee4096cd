// Decoding speed of our JPEG decoder against libjpeg-turbo's in the same run, at each
// reduction level, on synthetic photo-like pictures; and entry-thumbnail making from
// a 12 MP photo with and without an EXIF thumbnail. Run once as is and once with
// JSIMD_FORCENONE=1 to compare with libjpeg-turbo without its SIMD code.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "image/EntryThumbnail.h"
#include "image/JpegDecoder.h"
#include "image/JpegMemorySource.h"
#include "platform/DeviceFileSystem.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Picture {
  uint32_t width;
  uint32_t height;
  int hSamp;
  int vSamp;
};

const Picture kPictures[] = {
    {640, 480, 2, 2},     // 0.3 MP 4:2:0
    {2048, 1536, 2, 2},   // 3 MP 4:2:0
    {4000, 3000, 2, 2},   // 12 MP 4:2:0
    {2048, 1536, 1, 1},   // 3 MP 4:4:4
};

uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  return x ^ (x >> 16);
}

// Smooth shading, edges and sensor-like noise, so that the entropy-coded data has a
// camera photo's density (about 2-3 bits a pixel at quality 90).
Bytes Encode(uint32_t w, uint32_t h, int hs, int vs, int quality) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long len = 0;
  jpeg_mem_dest(&c, &mem, &len);
  c.image_width = w;
  c.image_height = h;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  c.comp_info[0].h_samp_factor = hs;
  c.comp_info[0].v_samp_factor = vs;
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t{w} * 3);
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      double fx = static_cast<double>(x) / w, fy = static_cast<double>(y) / h;
      int noise = static_cast<int>(Hash(x * 7919 + y * 104729) % 25) - 12;
      bool edge = ((x / 97) + (y / 61)) % 7 == 0;
      int r = static_cast<int>(150 + 90 * std::sin(fx * 11 + fy * 3)) + noise + (edge ? 50 : 0);
      int g = static_cast<int>(120 + 80 * std::cos(fy * 9 - fx * 4)) + noise;
      int b = static_cast<int>(200 - 140 * fy + 30 * std::sin(fx * 37)) + noise - (edge ? 70 : 0);
      row[3 * x] = static_cast<uint8_t>(std::clamp(r, 0, 255));
      row[3 * x + 1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
      row[3 * x + 2] = static_cast<uint8_t>(std::clamp(b, 0, 255));
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out(mem, mem + len);
  std::free(mem);
  return out;
}

const Bytes& PictureBytes(int index) {
  static std::map<int, Bytes> cache;
  auto it = cache.find(index);
  if (it == cache.end()) {
    const Picture& p = kPictures[index];
    it = cache.emplace(index, Encode(p.width, p.height, p.hSamp, p.vSamp, 90)).first;
  }
  return it->second;
}

void Ours(benchmark::State& state) {
  const Bytes& jpeg = PictureBytes(static_cast<int>(state.range(0)));
  int level = static_cast<int>(state.range(1));
  image::Bitmap bitmap;
  for (auto _ : state) {
    image::JpegMemorySource source(jpeg.data(), jpeg.size());
    image::JpegDecoder decoder(source);
    if (decoder.ReadHeaders() != 0 || decoder.Decode(level, bitmap) != 0) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::DoNotOptimize(bitmap.Row(0));
  }
  const Picture& p = kPictures[state.range(0)];
  state.counters["MP/s"] = benchmark::Counter(static_cast<double>(p.width) * p.height / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

// libjpeg-turbo straight to RGB565 with replicated chroma: the same work as ours.
void Turbo(benchmark::State& state) {
  const Bytes& jpeg = PictureBytes(static_cast<int>(state.range(0)));
  int denom = 1 << state.range(1);
  std::vector<uint8_t> out;
  for (auto _ : state) {
    jpeg_decompress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_decompress(&c);
    jpeg_mem_src(&c, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&c, TRUE);
    c.scale_num = 1;
    c.scale_denom = static_cast<unsigned>(denom);
    c.dct_method = JDCT_ISLOW;
    c.do_fancy_upsampling = FALSE;
    c.out_color_space = JCS_RGB565;
    c.dither_mode = JDITHER_NONE;
    jpeg_start_decompress(&c);
    size_t stride = size_t{c.output_width} * 2;
    out.resize(stride * c.output_height);
    while (c.output_scanline < c.output_height) {
      JSAMPROW rows[16];
      int n = 0;
      for (; n < 16 && c.output_scanline + static_cast<unsigned>(n) < c.output_height; ++n) {
        rows[n] = out.data() + (c.output_scanline + static_cast<size_t>(n)) * stride;
      }
      jpeg_read_scanlines(&c, rows, static_cast<JDIMENSION>(n));
    }
    jpeg_finish_decompress(&c);
    jpeg_destroy_decompress(&c);
    benchmark::DoNotOptimize(out.data());
  }
  const Picture& p = kPictures[state.range(0)];
  state.counters["MP/s"] = benchmark::Counter(static_cast<double>(p.width) * p.height / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void Levels(benchmark::internal::Benchmark* b) {
  b->ArgNames({"picture", "level"});
  for (int picture = 0; picture < 4; ++picture) {
    for (int level = 0; level <= 3; ++level) b->Args({picture, level});
  }
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(Ours)->Apply(Levels);
BENCHMARK(Turbo)->Apply(Levels);

// A device root in a temporary folder holding one 12 MP photo.
class ThumbnailDevice {
 public:
  explicit ThumbnailDevice(bool withExifThumbnail) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessary-bench-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    fs_ = std::make_unique<platform::DeviceFileSystem>(root_);
    fs_->Initialise();
    platform::DeviceFileSystem::SetCurrent(fs_.get());
    Bytes photo = PictureBytes(2);
    if (withExifThumbnail) photo = WithExifThumbnail(photo, Encode(160, 120, 2, 2, 80));
    std::ofstream(root_ / "photo.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(photo.data()), static_cast<std::streamsize>(photo.size()));
  }
  ~ThumbnailDevice() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  std::unique_ptr<platform::File> Open() {
    std::unique_ptr<platform::File> f;
    fs_->OpenFile("\\photo.jpg", platform::OpenMode::Read, f);
    return f;
  }

 private:
  static void Put(Bytes& b, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  // An APP1 EXIF block whose IFD0 links to an IFD1 with the JPEG thumbnail after it.
  static Bytes WithExifThumbnail(const Bytes& jpeg, const Bytes& thumb) {
    Bytes t = {'M', 'M', 0, 42};
    Put(t, 8, 4);
    Put(t, 0, 2);
    Put(t, 14, 4);
    Put(t, 2, 2);
    Put(t, 513, 2); Put(t, 4, 2); Put(t, 1, 4); Put(t, 14 + 2 + 24 + 4, 4);
    Put(t, 514, 2); Put(t, 4, 2); Put(t, 1, 4); Put(t, static_cast<uint32_t>(thumb.size()), 4);
    Put(t, 0, 4);
    t.insert(t.end(), thumb.begin(), thumb.end());
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    Put(out, 0xFFE1, 2);
    Put(out, static_cast<uint32_t>(t.size() + 8), 2);
    out.insert(out.end(), {'E', 'x', 'i', 'f', 0, 0});
    out.insert(out.end(), t.begin(), t.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
  }

  std::filesystem::path root_;
  std::unique_ptr<platform::DeviceFileSystem> fs_;
};

void EntryThumbnail12MP(benchmark::State& state) {
  ThumbnailDevice device(state.range(0) != 0);
  auto file = device.Open();
  std::vector<uint8_t> thumb;
  for (auto _ : state) {
    if (image::MakeEntryThumbnail(*file, thumb) != 0) {
      state.SkipWithError("thumbnail failed");
      break;
    }
    benchmark::DoNotOptimize(thumb.data());
  }
}
BENCHMARK(EntryThumbnail12MP)->ArgName("exif")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
