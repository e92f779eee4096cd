// `tessary-cli image decode --scale 1` writing a 12 MP photo as PPM, against
// `djpeg -dct int -nosmooth -ppm` writing the same picture, each as a whole
// process. Counters: each process's peak resident memory and CPU time, and the
// size of the decoded 16-bit bitmap, against which the command's memory is judged.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>

extern char** environ;

namespace {

constexpr uint32_t kWidth = 4000;
constexpr uint32_t kHeight = 3000;

uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  return x ^ (x >> 16);
}

// A camera-like 4:2:0 JPEG at quality 92: smooth shading, edges and sensor noise.
void WritePhoto(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, file);
  c.image_width = kWidth;
  c.image_height = kHeight;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 92, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t{kWidth} * 3);
  for (uint32_t y = 0; y < kHeight; ++y) {
    for (uint32_t x = 0; x < kWidth; ++x) {
      const double fx = static_cast<double>(x) / kWidth;
      const double fy = static_cast<double>(y) / kHeight;
      const int noise = static_cast<int>(Hash(x * 7919 + y * 104729) % 25) - 12;
      const bool edge = ((x / 97) + (y / 61)) % 7 == 0;
      const int r = static_cast<int>(150 + 90 * std::sin(fx * 11 + fy * 3)) + noise + (edge ? 50 : 0);
      const int g = static_cast<int>(120 + 80 * std::cos(fy * 9 - fx * 4)) + noise;
      const int b = static_cast<int>(200 - 140 * fy + 30 * std::sin(fx * 37)) + noise - (edge ? 70 : 0);
      row[3 * x] = static_cast<uint8_t>(std::clamp(r, 0, 255));
      row[3 * x + 1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
      row[3 * x + 2] = static_cast<uint8_t>(std::clamp(b, 0, 255));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::fclose(file);
}

struct Files {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("tessary-bench-cli-" + std::to_string(::getpid()));
  std::string photo = (dir / "photo.jpg").string();
  Files() {
    std::filesystem::create_directories(dir);
    WritePhoto(photo);
  }
  ~Files() { std::filesystem::remove_all(dir); }
};

Files& TheFiles() {
  static Files files;
  return files;
}

// Runs a program to its end; false when it cannot be started or fails.
bool Run(const std::vector<std::string>& args, rusage& usage) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // What the programs say goes nowhere, so that only the benchmark's report is printed.
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  if (::wait4(pid, &status, 0, &usage) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; }

void RunProcess(benchmark::State& state, const std::vector<std::string>& args) {
  double peak = 0;
  double cpu = 0;
  for (auto _ : state) {
    rusage usage{};
    if (!Run(args, usage)) {
      state.SkipWithError(("cannot run " + args[0]).c_str());
      break;
    }
    peak = std::max(peak, static_cast<double>(usage.ru_maxrss) / 1024.0);
    cpu += Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  }
  state.counters["peak_rss_MiB"] = peak;
  state.counters["cpu_ms"] = state.iterations() > 0 ? cpu * 1e3 / static_cast<double>(state.iterations()) : 0;
  state.counters["bitmap_MiB"] = kWidth * kHeight * 2.0 / (1024 * 1024);
}

void BM_TessaryCliDecodePpm(benchmark::State& state) {
  Files& files = TheFiles();
  RunProcess(state, {TESSARY_CLI_PATH, "image", "decode", files.photo, "--target", "1x1", "--scale", "1", "-o",
                     (files.dir / "ours.ppm").string()});
}
BENCHMARK(BM_TessaryCliDecodePpm)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DjpegPpm(benchmark::State& state) {
  Files& files = TheFiles();
  RunProcess(state, {"djpeg", "-dct", "int", "-nosmooth", "-ppm", "-outfile", (files.dir / "djpeg.ppm").string(),
                     files.photo});
}
BENCHMARK(BM_DjpegPpm)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
