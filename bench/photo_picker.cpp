// The photo picker over a device full of photos: the scan of 10,000 files, the
// first screen (placeholder cells), every visible cell filled, and one row of
// scrolling over cells already seen, on 500 photos of 12 MP with and without
// EXIF thumbnails. The reference is the plain way of drawing a picker: every
// visible cell decoded from its file, one after the other, on the GUI thread.
// Each benchmark reports the process's peak memory so far (peak_rss_MB).
//
// The 500 photos are one encoded picture under 500 names (hard links): each
// cell costs a full decode of its file all the same, and the set is made in a
// second instead of minutes.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/support/ExifThumbnail.h"
#include "image/JpegDrawer.h"
#include "image/JpegFileSource.h"
#include "model/PhotoScan.h"
#include "photo/CImageGridCtrl.h"
#include "platform/DeviceFileSystem.h"
#include "platform/File.h"
#include "ui/DisplayScale.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr int kPhotos = 500;
constexpr int kScanFiles = 10000;
// The phone's screen less its title and soft-key bar, as the picker has it.
constexpr int kGridWidth = 240;
constexpr int kGridHeight = 268;

// A 12 MP photo with the texture of a landscape: soft shading, fine detail and
// noise, coded at about the density a phone camera gives.
Bytes EncodePhoto(uint32_t w, uint32_t h, int quality) {
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
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t{w} * 3);
  uint32_t seed = 12345;
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) {
      seed = seed * 1103515245U + 12345U;
      const int noise = static_cast<int>((seed >> 16) % 31) - 15;
      const int r = static_cast<int>(90 + 120 * x / w) + noise + static_cast<int>((x / 7 + y / 5) % 23);
      const int g = static_cast<int>(160 - 80 * y / h) + noise;
      const int b = static_cast<int>(60 + 100 * ((x ^ y) & 63) / 63) + noise;
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

void Write(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A device root in a temporary folder, made current while it lives.
class BenchDevice {
 public:
  BenchDevice() {
    std::string pattern = (fs::temp_directory_path() / "tessary-picker-bench-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    fs_ = std::make_unique<platform::DeviceFileSystem>(root_.string());
    fs_->Initialise();
    MakeCurrent();
  }
  ~BenchDevice() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path Documents() const { return root_ / "My Documents"; }
  void MakeCurrent() { platform::DeviceFileSystem::SetCurrent(fs_.get()); }

 private:
  fs::path root_;
  std::unique_ptr<platform::DeviceFileSystem> fs_;
};

// 500 photos in "My Documents\Camera", with or without an EXIF thumbnail.
class PhotoDevice {
 public:
  explicit PhotoDevice(bool exif) {
    const fs::path folder = device_.Documents() / "Camera";
    fs::create_directories(folder);
    static const Bytes plain = EncodePhoto(4000, 3000, 92);
    static const Bytes thumbed = bench::WithExifThumbnail(plain, EncodePhoto(160, 120, 80));
    const fs::path first = folder / "IMG_0000.jpg";
    Write(first, exif ? thumbed : plain);
    for (int i = 1; i < kPhotos; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "IMG_%04d.jpg", i);
      fs::create_hard_link(first, folder / name);
    }
  }
  model::PhotoScan::Items Scan() {
    device_.MakeCurrent();
    model::PhotoScan scan(nullptr);
    scan.Collect(nullptr);
    return scan.TakeItems();
  }

 private:
  BenchDevice device_;
};

PhotoDevice& Photos(bool exif) {
  static PhotoDevice without(false);
  static PhotoDevice with(true);
  return exif ? with : without;
}

void ReportPeakMemory(benchmark::State& state) {
  rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::unique_ptr<photo::CImageGridCtrl> MakeGrid(model::PhotoScan::Items items) {
  auto grid = std::make_unique<photo::CImageGridCtrl>(nullptr);
  grid->resize(kGridWidth, kGridHeight);
  const int s5 = ui::DisplayScale::Across(5);
  const int t5 = ui::DisplayScale::Down(5);
  grid->LayoutByCellSize(QRect(), ui::DisplayScale::Across(50), ui::DisplayScale::Down(50), s5, t5, s5, t5);
  grid->SetItems(std::move(items));
  grid->Select(0, false);
  return grid;
}

bool AllVisibleFilled(photo::CImageGridCtrl& grid) {
  for (const auto& photo : grid.WantedPhotos()) {
    if (grid.IsVisible(photo.index) && !grid.Thumbnails().Find(photo)) return false;
  }
  return true;
}

// Paints (which asks for the thumbnails wanted) until every visible cell has its picture.
void FillVisible(photo::CImageGridCtrl& grid) {
  (void)grid.grab();
  while (!AllVisibleFilled(grid)) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  (void)grid.grab();
}

// 10,000 files in 100 folders of "My Documents": nine photos in ten, the rest other files.
void PickerScan10000(benchmark::State& state) {
  BenchDevice device;
  for (int folder = 0; folder < 100; ++folder) {
    const fs::path dir = device.Documents() / ("Folder " + std::to_string(folder));
    fs::create_directories(dir);
    for (int i = 0; i < kScanFiles / 100; ++i) {
      std::ofstream(dir / ("File " + std::to_string(i) + (i % 10 == 9 ? ".txt" : ".JPG")));
    }
  }
  size_t found = 0;
  for (auto _ : state) {
    model::PhotoScan scan(nullptr);
    scan.Collect(nullptr);
    found = scan.GetItems().size();
    benchmark::DoNotOptimize(found);
  }
  if (found != kScanFiles / 10 * 9) state.SkipWithError("the scan missed photos");
  ReportPeakMemory(state);
}
BENCHMARK(PickerScan10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the scanned list to the first painted screen of placeholders.
void PickerFirstScreen(benchmark::State& state) {
  PhotoDevice& photos = Photos(state.range(0) != 0);
  for (auto _ : state) {
    state.PauseTiming();
    model::PhotoScan::Items items = photos.Scan();
    state.ResumeTiming();
    std::unique_ptr<photo::CImageGridCtrl> grid = MakeGrid(std::move(items));
    QImage shown = grid->grab().toImage();
    benchmark::DoNotOptimize(shown.constBits());
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
  ReportPeakMemory(state);
}
BENCHMARK(PickerFirstScreen)->ArgName("exif")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the scanned list until every visible cell shows its photo.
void PickerVisibleFilled(benchmark::State& state) {
  PhotoDevice& photos = Photos(state.range(0) != 0);
  for (auto _ : state) {
    state.PauseTiming();
    model::PhotoScan::Items items = photos.Scan();
    state.ResumeTiming();
    std::unique_ptr<photo::CImageGridCtrl> grid = MakeGrid(std::move(items));
    FillVisible(*grid);
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
  ReportPeakMemory(state);
}
BENCHMARK(PickerVisibleFilled)->ArgName("exif")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference for the above: each visible cell decoded from its file in turn.
void ReferenceVisibleDecodedOnPaint(benchmark::State& state) {
  PhotoDevice& photos = Photos(state.range(0) != 0);
  const model::PhotoScan::Items items = photos.Scan();
  std::unique_ptr<photo::CImageGridCtrl> grid = MakeGrid(photos.Scan());
  int visible = 0;
  while (visible < static_cast<int>(items.size()) && grid->IsVisible(visible)) ++visible;
  for (auto _ : state) {
    for (int i = 0; i < visible; ++i) {
      const model::CImageItem& item = *items[static_cast<size_t>(i)];
      const int fd = ::open(item.hostPath.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd < 0) {
        state.SkipWithError("cannot open a photo");
        return;
      }
      platform::File file(fd, item.Path());
      image::JpegFileSource source(file);
      image::Rect target{0, 0, grid->CellWidth(), grid->CellHeight()};
      std::unique_ptr<image::Bitmap> bitmap;
      if (image::DecodeJpegToBitmap(source, target, 0, bitmap) != 0) {
        state.SkipWithError("decode failed");
        return;
      }
      benchmark::DoNotOptimize(bitmap.get());
    }
  }
  state.counters["cells"] = visible;
  ReportPeakMemory(state);
}
BENCHMARK(ReferenceVisibleDecodedOnPaint)
    ->ArgName("exif")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One row down or back up over cells already decoded, painted.
void PickerScrollRow(benchmark::State& state) {
  PhotoDevice& photos = Photos(state.range(0) != 0);
  std::unique_ptr<photo::CImageGridCtrl> grid = MakeGrid(photos.Scan());
  grid->SetTopRow(1);
  FillVisible(*grid);
  grid->SetTopRow(0);
  FillVisible(*grid);
  int top = 0;
  for (auto _ : state) {
    top = 1 - top;
    grid->SetTopRow(top);
    QImage shown = grid->grab().toImage();
    benchmark::DoNotOptimize(shown.constBits());
    if (!AllVisibleFilled(*grid)) state.SkipWithError("a cell already seen was decoded again");
  }
  state.counters["kept_MB"] = static_cast<double>(grid->Thumbnails().KeptBytes()) / (1024.0 * 1024.0);
  ReportPeakMemory(state);
}
BENCHMARK(PickerScrollRow)->ArgName("exif")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ui::DisplayScale::FromDpi(96, 96);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
