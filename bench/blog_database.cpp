// A blog of 1,000, 10,000 and 50,000 entries with 4 KB thumbnails: loading it
// against one read() of its file into fresh memory, saving it against plain
// buffered writes of as many bytes (with the same fsync), building it by AddEntry
// in random date order against copies put into a sorted array, and walking its
// shown entries under a filter against one pass over the list.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/CWinBlogStorage.h"
#include "platform/DeviceFileSystem.h"

namespace {

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
  e->SetCategoryId(id % 3);
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

std::unique_ptr<model::CWinBlogStorage> BuildBlog(uint32_t entries) {
  TheDevice();
  auto blog = model::CWinBlogStorage::ForName("\\My Documents", "bench" + std::to_string(entries));
  for (uint32_t i = 0; i < entries; ++i) blog->InsertEntry(MakeEntry(i + 1, 3000000000u - i));
  return blog;
}

// The blog of that size saved once; its phone path and its file's size.
struct SavedBlog {
  std::string path;
  std::filesystem::path host;
  uintmax_t size = 0;
};

const SavedBlog& Saved(uint32_t entries) {
  static std::map<uint32_t, SavedBlog> saved;
  SavedBlog& s = saved[entries];
  if (s.size == 0) {
    auto blog = BuildBlog(entries);
    if (blog->Save() != 0) std::abort();
    s.path = blog->GetPath();
    TheDevice().fs->ToHostPath(s.path, s.host);
    s.size = std::filesystem::file_size(s.host);
  }
  return s;
}

uint32_t Entries(const benchmark::State& state) { return static_cast<uint32_t>(state.range(0)); }

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
}

void BM_SaveDatabase(benchmark::State& state) {
  auto blog = BuildBlog(Entries(state));
  for (auto _ : state) {
    if (blog->Save() != 0) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Saved(Entries(state)).size));
}
BENCHMARK(BM_SaveDatabase)->Apply(Sizes);

// The same number of bytes through stdio with a 4096-byte buffer, then fsync.
void BM_PlainBufferedWrite(benchmark::State& state) {
  const std::string path = (TheDevice().root / "plain.bin").string();
  const uintmax_t total = Saved(Entries(state)).size;
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
BENCHMARK(BM_PlainBufferedWrite)->Apply(Sizes);

void BM_LoadDatabase(benchmark::State& state) {
  const SavedBlog& saved = Saved(Entries(state));
  for (auto _ : state) {
    auto blog = std::make_unique<model::CWinBlogStorage>();
    blog->SetPath(saved.path);
    if (blog->Load() != 0 || blog->Entries().Count() != Entries(state)) state.SkipWithError("load failed");
    state.PauseTiming();
    blog.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * saved.size));
}
BENCHMARK(BM_LoadDatabase)->Apply(Sizes);

// The least a loader can do: the same file read by one read() into memory
// allocated for it. Neither this nor the load times the freeing afterwards.
void BM_ReadFileIntoFreshMemory(benchmark::State& state) {
  const SavedBlog& saved = Saved(Entries(state));
  for (auto _ : state) {
    const int fd = ::open(saved.host.c_str(), O_RDONLY | O_CLOEXEC);
    std::unique_ptr<uint8_t[]> into(new uint8_t[saved.size]);
    size_t got = 0;
    while (got < saved.size) {
      const ssize_t n = ::read(fd, into.get() + got, saved.size - got);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (got != saved.size) state.SkipWithError("short read");
    benchmark::DoNotOptimize(into.get());
    state.PauseTiming();
    into.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * saved.size));
}
BENCHMARK(BM_ReadFileIntoFreshMemory)->Apply(Sizes);

std::vector<std::unique_ptr<model::CWinBlogEntry>> ArrivingEntries(uint32_t entries) {
  std::vector<std::unique_ptr<model::CWinBlogEntry>> arriving;
  std::mt19937 random(7);
  for (uint32_t i = 0; i < entries; ++i) {
    arriving.push_back(MakeEntry(i + 1, 2000000000u + random() % 100000000u));
  }
  return arriving;
}

// What a first full download of a large blog costs: every entry arrives by
// AddEntry (a copy, an id look-up and an ordered insertion) in random date order.
void BM_AddEntryRandomOrder(benchmark::State& state) {
  TheDevice();
  const auto arriving = ArrivingEntries(Entries(state));
  for (auto _ : state) {
    model::CWinBlogStorage blog;
    for (const auto& e : arriving) blog.AddEntry(*e);
    benchmark::DoNotOptimize(blog.Entries().Count());
  }
}
BENCHMARK(BM_AddEntryRandomOrder)->Apply(Sizes);

// The work AddEntry cannot avoid: a copy of each entry put at its date's place in
// an array of pointers (newest first, equal dates after the others).
void BM_CopyIntoSortedArray(benchmark::State& state) {
  const auto arriving = ArrivingEntries(Entries(state));
  for (auto _ : state) {
    std::vector<model::CWinBlogEntry*> sorted;
    for (const auto& e : arriving) {
      auto copy = std::make_unique<model::CWinBlogEntry>();
      copy->CopyFrom(*e);
      auto at = std::upper_bound(sorted.begin(), sorted.end(), copy->GetDate(),
                                 [](uint32_t date, const auto* other) { return other->GetDate() < date; });
      sorted.insert(at, copy.release());
    }
    benchmark::DoNotOptimize(sorted.size());
    for (auto* e : sorted) delete e;
  }
}
BENCHMARK(BM_CopyIntoSortedArray)->Apply(Sizes);

// A view or the sync asking for every shown entry in turn, one category of three shown.
void BM_ShownEntriesOfACategory(benchmark::State& state) {
  auto blog = BuildBlog(Entries(state));
  blog->SetFilters(1, model::kShowAll);
  for (auto _ : state) {
    size_t shown = 0;
    for (size_t i = 0, count = blog->GetShownCount(); i < count; ++i) {
      if (blog->GetShownEntryAt(i) != nullptr) ++shown;
    }
    benchmark::DoNotOptimize(shown);
  }
}
BENCHMARK(BM_ShownEntriesOfACategory)->Apply(Sizes);

// One pass over the list testing every entry against the same filters.
void BM_OnePassOverTheList(benchmark::State& state) {
  auto blog = BuildBlog(Entries(state));
  blog->SetFilters(1, model::kShowAll);
  for (auto _ : state) {
    size_t shown = 0;
    for (const auto& entry : blog->Entries()) {
      if (blog->IsShown(*entry)) ++shown;
    }
    benchmark::DoNotOptimize(shown);
  }
}
BENCHMARK(BM_OnePassOverTheList)->Apply(Sizes);

}  // namespace
