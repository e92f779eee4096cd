// Decoding speed of our JPEG decoder against libjpeg-turbo's in the same run, at each
// reduction level, on smooth synthetic pictures and on busy ones encoded as a camera
// encodes them; and entry-thumbnail making from a 12 MP photo with and without an EXIF
// thumbnail. Run once as is and once with JSIMD_FORCENONE=1 to compare with
// libjpeg-turbo without its SIMD code; OursPortable is our decoder without its vector
// code. Pin it to one core and compare CPU times of the same run, e.g. with
// --benchmark_enable_random_interleaving=true --benchmark_repetitions=5.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/support/ExifThumbnail.h"
#include "image/EntryThumbnail.h"
#include "image/JpegDecoder.h"
#include "image/JpegKernels.h"
#include "image/JpegMemorySource.h"
#include "platform/DeviceFileSystem.h"

namespace {

using Bytes = std::vector<uint8_t>;

enum class Scene { Smooth, Camera };

struct Picture {
  uint32_t width;
  uint32_t height;
  int hSamp;
  int vSamp;
  Scene scene;
  int quality;
};

const Picture kPictures[] = {
    {640, 480, 2, 2, Scene::Smooth, 90},     // 0: 0.3 MP 4:2:0
    {2048, 1536, 2, 2, Scene::Smooth, 90},   // 1: 3 MP 4:2:0
    {4000, 3000, 2, 2, Scene::Smooth, 90},   // 2: 12 MP 4:2:0
    {2048, 1536, 1, 1, Scene::Smooth, 90},   // 3: 3 MP 4:4:4
    {4000, 3000, 2, 2, Scene::Camera, 92},   // 4: 12 MP 4:2:0 camera photo, about 4 MB
    {4000, 3000, 2, 2, Scene::Camera, 95},   // 5: 12 MP 4:2:0 camera photo, about 5.3 MB
};
constexpr int kPictureCount = static_cast<int>(std::size(kPictures));

uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  return x ^ (x >> 16);
}

// Value noise on a 256 x 256 lattice that wraps, interpolated between lattice points.
class Lattice {
 public:
  explicit Lattice(uint32_t seed) : v_(65536) {
    for (uint32_t i = 0; i < 65536; ++i) {
      v_[i] = static_cast<float>(Hash(i * 2654435761U + seed) & 0xFFFF) / 32768.0f - 1.0f;
    }
  }
  float At(float x, float y) const {
    float fx = std::floor(x), fy = std::floor(y);
    auto xi = static_cast<uint32_t>(static_cast<int32_t>(fx)), yi = static_cast<uint32_t>(static_cast<int32_t>(fy));
    float tx = x - fx, ty = y - fy;
    float a = V(xi, yi), b = V(xi + 1, yi), c = V(xi, yi + 1), d = V(xi + 1, yi + 1);
    float top = a + (b - a) * tx;
    float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
  }

 private:
  float V(uint32_t x, uint32_t y) const { return v_[(y & 255) << 8 | (x & 255)]; }
  std::vector<float> v_;
};

// Smooth shading, edges and sensor-like noise (about 2-3 bits a pixel at quality 90).
void SmoothRow(uint32_t y, uint32_t w, uint32_t h, uint8_t* row) {
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
}

// A landscape as a phone camera takes it: a sky with soft clouds, and below it
// foliage-like detail at several scales from 1 to 60 pixels, buildings with window
// grids and sensor noise. At quality 92 to 95 it codes at 2.5 to 3.5 bits a pixel,
// the density of real 12 MP phone photos.
void CameraRow(uint32_t y, uint32_t w, uint32_t h, uint8_t* row) {
  static const Lattice coarse(1), fine(2);
  float fy = static_cast<float>(y);
  float horizon = 0.38f * static_cast<float>(h);
  for (uint32_t x = 0; x < w; ++x) {
    float fx = static_cast<float>(x);
    float noise = static_cast<float>(static_cast<int>(Hash(x * 7919 + y * 104729) % 17) - 8);
    float skyline = horizon + 60 * coarse.At(fx / 300, 7);
    float r, g, b;
    if (fy < skyline) {
      float cloud = coarse.At(fx / 90, fy / 40);
      float down = fy / static_cast<float>(h);
      r = 120 + 50 * down + 40 * cloud;
      g = 160 + 40 * down + 40 * cloud;
      b = 230 - 20 * down + 25 * cloud;
      noise *= 0.4f;
    } else {
      float detail = fine.At(fx / 1.4f, fy / 1.4f) * 0.45f + fine.At(fx / 2.1f + 33, fy / 2.1f) * 0.4f +
                     fine.At(fx / 4.7f + 91, fy / 4.7f) * 0.3f + coarse.At(fx / 13, fy / 13) * 0.35f +
                     coarse.At(fx / 61, fy / 61) * 0.4f;
      float strength = 60 + 40 * coarse.At(fx / 400 + 17, fy / 400);
      float hue = coarse.At(fx / 150 + 5, fy / 150 + 3);
      r = 95 + 40 * hue + strength * detail;
      g = 110 - 20 * hue + strength * detail * 1.1f;
      b = 60 + 15 * hue + strength * detail * 0.6f;
      if ((x / 420) % 3 == 1 && fy < skyline + 700) {
        bool window = x % 60 < 30 && y % 80 < 45;
        r = window ? 40 : 185 + 6 * detail;
        g = window ? 55 : 170 + 6 * detail;
        b = window ? 70 : 150 + 6 * detail;
      }
    }
    row[3 * x] = static_cast<uint8_t>(std::clamp(r + noise, 0.0f, 255.0f));
    row[3 * x + 1] = static_cast<uint8_t>(std::clamp(g + noise, 0.0f, 255.0f));
    row[3 * x + 2] = static_cast<uint8_t>(std::clamp(b + noise, 0.0f, 255.0f));
  }
}

// Encodes with the standard Huffman tables, as cameras do.
Bytes Encode(uint32_t w, uint32_t h, int hs, int vs, int quality, Scene scene = Scene::Smooth) {
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
    if (scene == Scene::Camera) {
      CameraRow(y, w, h, row.data());
    } else {
      SmoothRow(y, w, h, row.data());
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
    it = cache.emplace(index, Encode(p.width, p.height, p.hSamp, p.vSamp, p.quality, p.scene)).first;
  }
  return it->second;
}

void Decode(benchmark::State& state, const image::JpegKernels& kernels) {
  const Bytes& jpeg = PictureBytes(static_cast<int>(state.range(0)));
  int level = static_cast<int>(state.range(1));
  image::Bitmap bitmap;
  for (auto _ : state) {
    image::JpegMemorySource source(jpeg.data(), jpeg.size());
    image::JpegDecoder decoder(source);
    decoder.SetKernels(kernels);
    if (decoder.ReadHeaders() != 0 || decoder.Decode(level, bitmap) != 0) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::DoNotOptimize(bitmap.Row(0));
  }
  const Picture& p = kPictures[state.range(0)];
  state.counters["MP/s"] = benchmark::Counter(static_cast<double>(p.width) * p.height / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
  state.counters["bits/px"] = static_cast<double>(jpeg.size()) * 8 / (static_cast<double>(p.width) * p.height);
}

// With the kernels chosen for this processor, and with the portable ones.
void Ours(benchmark::State& state) { Decode(state, image::JpegKernels::Best()); }
void OursPortable(benchmark::State& state) { Decode(state, image::JpegKernels::Portable()); }

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
  for (int picture = 0; picture < kPictureCount; ++picture) {
    for (int level = 0; level <= 3; ++level) b->Args({picture, level});
  }
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(Ours)->Apply(Levels);
BENCHMARK(OursPortable)->Apply(Levels);
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
    if (withExifThumbnail) photo = bench::WithExifThumbnail(photo, Encode(160, 120, 2, 2, 80));
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
