// Loading and saving a blog of 10,000 entries with 4 KB thumbnails, against plain
// buffered reads and writes of the same number of bytes (with the same fsync),
// and building such a blog by AddEntry in random date order.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/CWinBlogStorage.h"
#include "platform/DeviceFileSystem.h"

namespace {

constexpr uint32_t kEntries = 10000;
constexpr size_t kThumbnailBytes = 4096;

// A device root in a temporary folder for the whole run.
struct Device {
  std::filesystem::path root;
  std::unique_ptr<platform::DeviceFileSystem> fs;
  Device() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessary-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root = pattern;
    fs = std::make_unique<platform::DeviceFileSystem>(root);
    if (fs->Initialise() != 0) std::abort();
    platform::DeviceFileSystem::SetCurrent(fs.get());
  }
  ~Device() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
};

Device& TheDevice() {
  static Device device;
  return device;
}

std::unique_ptr<model::CWinBlogEntry> MakeEntry(uint32_t id, uint32_t date) {
  auto e = std::make_unique<model::CWinBlogEntry>();
  e->SetId(id);
  e->SetDate(date);
  e->SetDate2(date);
  e->SetTitle("Entry number " + std::to_string(id));
  e->SetCaption("A caption of moderate length for entry " + std::to_string(id));
  e->SetAuthorName("someone");
  e->SetPhotoUrl("http://localhost/photos/" + std::to_string(id) + ".jpg");
  e->photoPath = "\\My Documents\\My Pictures\\bench\\IMG_" + std::to_string(id) + ".jpg";
  e->SetThumbnail(std::vector<uint8_t>(kThumbnailBytes, static_cast<uint8_t>(id)));
  e->SetModified(false);
  return e;
}

std::unique_ptr<model::CWinBlogStorage> BuildBlog() {
  TheDevice();
  auto blog = model::CWinBlogStorage::ForName("\\My Documents", "bench");
  for (uint32_t i = 0; i < kEntries; ++i) blog->InsertEntry(MakeEntry(i + 1, 3000000000u - i));
  return blog;
}

uintmax_t SavedSize() {
  static uintmax_t size = [] {
    auto blog = BuildBlog();
    if (blog->Save() != 0) std::abort();
    std::filesystem::path host;
    TheDevice().fs->ToHostPath(blog->GetPath(), host);
    return std::filesystem::file_size(host);
  }();
  return size;
}

void BM_SaveDatabase(benchmark::State& state) {
  auto blog = BuildBlog();
  for (auto _ : state) {
    if (blog->Save() != 0) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * SavedSize()));
}
BENCHMARK(BM_SaveDatabase)->Unit(benchmark::kMillisecond);

void BM_LoadDatabase(benchmark::State& state) {
  auto saved = BuildBlog();
  if (saved->Save() != 0) std::abort();
  for (auto _ : state) {
    model::CWinBlogStorage blog;
    blog.SetPath(saved->GetPath());
    if (blog.Load() != 0 || blog.Entries().Count() != kEntries) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * SavedSize()));
}
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond);

// The same number of bytes through stdio with a 4096-byte buffer, then fsync.
void BM_PlainBufferedWrite(benchmark::State& state) {
  const std::string path = (TheDevice().root / "plain.bin").string();
  const uintmax_t total = SavedSize();
  std::vector<uint8_t> chunk(64, 0x5A);
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::setvbuf(f, nullptr, _IOFBF, 4096);
    for (uintmax_t done = 0; done < total; done += chunk.size()) {
      std::fwrite(chunk.data(), 1, std::min<uintmax_t>(chunk.size(), total - done), f);
    }
    std::fflush(f);
    ::fsync(::fileno(f));
    std::fclose(f);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}
BENCHMARK(BM_PlainBufferedWrite)->Unit(benchmark::kMillisecond);

// The same number of bytes through stdio with a 4096-byte buffer. With
// `fresh` each read goes to newly allocated memory, as a loader's must.
void PlainBufferedRead(benchmark::State& state, bool fresh) {
  const std::string path = (TheDevice().root / "plain.bin").string();
  const uintmax_t total = SavedSize();
  {
    std::vector<uint8_t> bytes(total, 0x5A);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  std::unique_ptr<uint8_t[]> into(new uint8_t[total]);
  for (auto _ : state) {
    if (fresh) into.reset(new uint8_t[total]);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::setvbuf(f, nullptr, _IOFBF, 4096);
    size_t got = 0;
    while (got < total) {
      size_t n = std::fread(into.get() + got, 1, std::min<size_t>(64, total - got), f);
      if (n == 0) break;
      got += n;
    }
    std::fclose(f);
    benchmark::DoNotOptimize(into.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}

void BM_PlainBufferedRead(benchmark::State& state) { PlainBufferedRead(state, false); }
BENCHMARK(BM_PlainBufferedRead)->Unit(benchmark::kMillisecond);

void BM_PlainBufferedReadFresh(benchmark::State& state) { PlainBufferedRead(state, true); }
BENCHMARK(BM_PlainBufferedReadFresh)->Unit(benchmark::kMillisecond);

// What a first full download of a large blog costs: every entry arrives by
// AddEntry (a copy, an id look-up and an ordered insertion) in random date order.
void BM_AddEntryRandomOrder(benchmark::State& state) {
  TheDevice();
  std::vector<std::unique_ptr<model::CWinBlogEntry>> arriving;
  std::mt19937 random(7);
  for (uint32_t i = 0; i < kEntries; ++i) {
    arriving.push_back(MakeEntry(i + 1, 2000000000u + random() % 100000000u));
  }
  for (auto _ : state) {
    model::CWinBlogStorage blog;
    for (const auto& e : arriving) blog.AddEntry(*e);
    benchmark::DoNotOptimize(blog.Entries().Count());
  }
}
BENCHMARK(BM_AddEntryRandomOrder)->Unit(benchmark::kMillisecond);

}  // namespace
