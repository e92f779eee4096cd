// Hostile-client probes against a running tessary-service (the real program,
// started by this bench in a temporary data folder): a 1000 MB chunked body,
// slow and idle connections while others are served, a 64-megapixel
// progressive photo resized over and over, large requests, and then the
// memory the service keeps when idle. Each benchmark runs once and reports
// counters: latencies in ms, the service's memory (resident, peak) in MB.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <jpeglib.h>

#include "server/Crypto.h"
#include "server/Timestamp.h"

#ifndef TESSARY_SERVICE_PATH
#define TESSARY_SERVICE_PATH "tessary-service"
#endif

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int FreePort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t length = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
  close(fd);
  return ntohs(addr.sin_port);
}

// quiet: the child's standard output (the service's access log) is dropped.
pid_t Spawn(const std::vector<std::string>& args, bool quiet = false) {
  pid_t pid = fork();
  if (pid == 0) {
    if (quiet) {
      int null = open("/dev/null", O_WRONLY);
      if (null >= 0) dup2(null, STDOUT_FILENO);
    }
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

int RunToEnd(const std::vector<std::string>& args) {
  int status = 0;
  waitpid(Spawn(args), &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A raw connection for requests no ordinary client sends.
struct Raw {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  explicit Raw(int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      close(fd);
      fd = -1;
    }
  }
  ~Raw() {
    if (fd >= 0) close(fd);
  }
  bool Send(std::string_view bytes) {
    while (fd >= 0 && !bytes.empty()) {
      ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(n));
    }
    return fd >= 0;
  }
  std::string Read() {
    std::string got;
    char buffer[4096];
    timeval timeout{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) got.append(buffer, static_cast<size_t>(n));
    return got;
  }
};

// The service under probe, started once for all benchmarks.
class Service {
 public:
  Service() {
    dir_ = std::filesystem::temp_directory_path() / ("tessary-probe-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir_);
    const char* path = std::getenv("TESSARY_SERVICE");
    binary_ = path != nullptr ? path : TESSARY_SERVICE_PATH;
    RunToEnd({binary_, "--data", dir_.string(), "user", "add", "probe@example.com", "pw", "--pro"});
    RunToEnd({binary_, "--data", dir_.string(), "blog", "add", "probe", "--owner", "probe@example.com"});
    port_ = FreePort();
    pid_ = Spawn({binary_, "--data", dir_.string(), "serve", "--listen", "127.0.0.1:" + std::to_string(port_)}, true);
    for (int i = 0; i < 200 && !Get("/Downloads/messages/wms/Tessary.txt"); ++i) std::this_thread::sleep_for(20ms);
  }
  ~Service() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    std::filesystem::remove_all(dir_);
  }

  int Port() const { return port_; }

  // VmRSS or VmHWM of the service, in MB.
  double Memory(const char* field) const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind(field, 0) == 0) return std::stod(line.substr(line.find(':') + 1)) / 1024.0;
    }
    return -1;
  }

  httplib::Result Get(const std::string& path) const {
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(120, 0);
    return client.Get(path.c_str());
  }

  std::string Envelope(const std::string& op, const std::string& inner) {
    std::string nonce = "probe" + std::to_string(++nonce_) + "-" + std::to_string(getpid());
    std::string created = server::Timestamp::FormatUtc(static_cast<int64_t>(std::time(nullptr)));
    std::string auth = "<AU><UN>probe@example.com</UN><DI>" + server::Crypto::Sha1Base64(nonce + created + "pw") +
                       "</DI><CR>" + created + "</CR><NO>" + nonce + "</NO></AU>";
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><" +
           op + "><RQ><" + op + "><RQ><V>3</V>" + auth + inner + "</RQ></" + op + "></RQ></" + op +
           "></soap:Body></soap:Envelope>";
  }

  std::string Call(const std::string& op, const std::string& inner, const std::string& padding = "") {
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(120, 0);
    client.set_write_timeout(120, 0);
    auto result = client.Post("/ws/", {{"SOAPAction", "\"http://probe/ws/" + op + "\""}},
                              Envelope(op, inner) + padding, "text/xml; charset=utf-8");
    return result ? result->body : "<transport failure>";
  }

 private:
  std::filesystem::path dir_;
  std::string binary_;
  int port_ = 0;
  pid_t pid_ = -1;
  std::atomic<uint64_t> nonce_{0};
};

Service& TheService() {
  static Service service;
  return service;
}

void ReportMemory(benchmark::State& state) {
  state.counters["rss_mb"] = TheService().Memory("VmRSS");
  state.counters["peak_mb"] = TheService().Memory("VmHWM");
}

struct JpegError {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

// A progressive JPEG of a noisy gradient, encoded row by row so that the probe
// never holds the pixels.
std::string ProgressiveJpeg(int width, int height) {
  jpeg_compress_struct info;
  JpegError err;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1); };
  unsigned char* out = nullptr;
  unsigned long size = 0;
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
  jpeg_create_compress(&info);
  std::string jpeg;
  if (setjmp(err.jump) == 0) {
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 40, TRUE);
    jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    uint32_t seed = 1;
    while (info.next_scanline < info.image_height) {
      for (int x = 0; x < width; ++x) {
        seed = seed * 1664525u + 1013904223u;
        row[x * 3] = static_cast<JSAMPLE>((x * 255 / width + (seed >> 28)) & 0xFF);
        row[x * 3 + 1] = static_cast<JSAMPLE>(info.next_scanline * 255 / height);
        row[x * 3 + 2] = static_cast<JSAMPLE>(seed >> 24);
      }
      JSAMPROW rows[1] = {row.data()};
      jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg.assign(reinterpret_cast<char*>(out), size);
  }
  jpeg_destroy_compress(&info);
  std::free(out);
  return jpeg;
}

std::string Entry(const std::string& jpeg) {
  return "<BI>probe</BI><PI><CI>0</CI><TI>probe</TI><CP /><PD>2026-03-01T10:00:00Z</PD><TD>2026-03-01T10:00:00Z</TD>"
         "<JP>" +
         server::Crypto::Base64Encode(jpeg) + "</JP></PI>";
}

// Memory at the start, before any probe.
void BM_Start(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(TheService().Port());
  ReportMemory(state);
}
BENCHMARK(BM_Start)->Iterations(1);

// 1000 MB in chunks: how much is sent before the service refuses, and its answer.
void BM_ChunkedBody(benchmark::State& state) {
  double sentMb = 0;
  int status = 0;
  for (auto _ : state) {
    Raw raw(TheService().Port());
    raw.Send("POST /ws/ HTTP/1.1\r\nHost: probe\r\nSOAPAction: \"http://probe/ws/GU\"\r\n"
             "Transfer-Encoding: chunked\r\n\r\n");
    std::string chunk = "100000\r\n" + std::string(1 << 20, ' ') + "\r\n";
    int sent = 0;
    while (sent < 1000 && raw.Send(chunk)) ++sent;
    sentMb = sent;
    std::string answer = raw.Read();
    status = answer.size() > 12 ? std::stoi(answer.substr(9, 3)) : -1;
  }
  state.counters["sent_mb"] = sentMb;
  state.counters["status"] = status;
  ReportMemory(state);
}
BENCHMARK(BM_ChunkedBody)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// 16 connections sending a header line every 2 s and 500 idle ones, while an
// account check is made ten times: the slowest and the median answer.
void BM_SlowClients(benchmark::State& state) {
  std::vector<double> latencies;
  for (auto _ : state) {
    std::vector<std::unique_ptr<Raw>> idle;
    for (int i = 0; i < 500; ++i) idle.push_back(std::make_unique<Raw>(TheService().Port()));
    std::vector<std::unique_ptr<Raw>> slow;
    for (int i = 0; i < 16; ++i) {
      slow.push_back(std::make_unique<Raw>(TheService().Port()));
      slow.back()->Send("POST /ws/ HTTP/1.1\r\n");
    }
    std::atomic<bool> done{false};
    std::thread trickle([&] {
      while (!done) {
        for (auto& raw : slow) raw->Send("X-Slow: 1\r\n");
        for (int i = 0; i < 20 && !done; ++i) std::this_thread::sleep_for(100ms);
      }
    });
    for (int i = 0; i < 10; ++i) {
      auto start = Clock::now();
      std::string answer = TheService().Call("GU", "");
      latencies.push_back(answer.find("<UI>") != std::string::npos ? Millis(Clock::now() - start) : 1e9);
      std::this_thread::sleep_for(500ms);
    }
    done = true;
    trickle.join();
  }
  std::sort(latencies.begin(), latencies.end());
  state.counters["median_ms"] = latencies[latencies.size() / 2];
  state.counters["max_ms"] = latencies.back();
  ReportMemory(state);
}
BENCHMARK(BM_SlowClients)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// A photo whose header claims 10950 x 10950 pixels (a 1.4 MB progressive bomb of
// that size decoded to 734 MB); then a real 64-megapixel progressive photo,
// fetched six times at once whole (ld=8192) and resized six times at once with
// different qualities (none cached).
void BM_PhotoBombs(benchmark::State& state) {
  double refusedMs = 0;
  double uploadMs = 0;
  double wholeMs = 0;
  double resizeMs = 0;
  for (auto _ : state) {
    std::string small = ProgressiveJpeg(64, 64);
    for (size_t i = 2; i + 9 < small.size(); ++i) {
      if (static_cast<unsigned char>(small[i]) == 0xFF && static_cast<unsigned char>(small[i + 1]) == 0xC2) {
        small[i + 5] = small[i + 7] = static_cast<char>(10950 >> 8);
        small[i + 6] = small[i + 8] = static_cast<char>(10950 & 0xFF);
        break;
      }
    }
    auto start = Clock::now();
    TheService().Call("AP", Entry(small));
    refusedMs = Millis(Clock::now() - start);

    std::string big = ProgressiveJpeg(8000, 8000);
    start = Clock::now();
    std::string answer = TheService().Call("AP", Entry(big));
    uploadMs = Millis(Clock::now() - start);
    std::string url = answer.substr(answer.find("<OU>") + 4);
    std::string img = url.substr(url.find("/photos/") + 1, url.find("</OU>") - url.find("/photos/") - 1);

    auto parallel = [&](auto query) {
      auto begin = Clock::now();
      std::vector<std::thread> threads;
      for (int i = 0; i < 6; ++i) threads.emplace_back([&, i] { TheService().Get(query(i)); });
      for (std::thread& t : threads) t.join();
      return Millis(Clock::now() - begin);
    };
    wholeMs = parallel([&](int) { return "/si.aspx?img=" + img + "&ld=8192&q=100"; });
    resizeMs = parallel([&](int i) { return "/si.aspx?img=" + img + "&ld=4000&q=" + std::to_string(90 + i); });
  }
  state.counters["bomb_refused_ms"] = refusedMs;
  state.counters["upload_64mp_ms"] = uploadMs;
  state.counters["six_whole_ms"] = wholeMs;
  state.counters["six_resizes_ms"] = resizeMs;
  ReportMemory(state);
}
BENCHMARK(BM_PhotoBombs)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// Eight requests of 60 MB each, four at a time (the body limit is 64 MB).
void BM_LargeRequests(benchmark::State& state) {
  for (auto _ : state) {
    for (int round = 0; round < 2; ++round) {
      std::vector<std::thread> threads;
      for (int i = 0; i < 4; ++i) {
        threads.emplace_back([] { TheService().Call("GU", "", std::string(60 << 20, ' ')); });
      }
      for (std::thread& t : threads) t.join();
    }
  }
  ReportMemory(state);
}
BENCHMARK(BM_LargeRequests)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// What the service keeps once the probes are over and it has been idle for 3 s.
void BM_IdleAfterProbes(benchmark::State& state) {
  for (auto _ : state) std::this_thread::sleep_for(3s);
  ReportMemory(state);
}
BENCHMARK(BM_IdleAfterProbes)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
