// Sync upload throughput: 100 pending entries with 2 MB photos sent by the sync
// ("AP" with the photo base64-encoded) to a loopback HTTP sink, against libcurl
// posting bodies of the same size to the same sink in the same run; how far the
// resident memory rises during each is reported as a counter. Also:
// applying change lists of 5,000 and 50,000 entries against handing the same
// entries to the blog directly.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "image/Bitmap.h"
#include "image/JpegWriter.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "model/ModelConstants.h"
#include "net/ReadOnlyMemoryStream.h"
#include "net/Win32Http.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Preferences.h"
#include "service/MorvaneBlogService.h"
#include "service/ServiceSettings.h"
#include "service/SyncProgress.h"

namespace {

constexpr int kPhotos = 100;
// Noise at this size makes a JPEG of about 2 MB.
constexpr uint32_t kWidth = 1800;
constexpr uint32_t kHeight = 1360;

// An HTTP/1.1 server on 127.0.0.1 that reads each request (Content-Length body)
// and answers 404 to GET and a small "AP" answer to POST, keeping connections open.
class Sink {
 public:
  Sink() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 8);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~Sink() {
    stop_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    thread_.join();
  }
  int Port() const { return port_; }

 private:
  void Run() {
    while (!stop_) {
      const int client = ::accept(listener_, nullptr, nullptr);
      if (client < 0) return;
      std::thread([this, client] { Serve(client); }).detach();
    }
  }
  void Serve(int client) {
    std::string buffer;
    char chunk[65536];
    while (true) {
      size_t end = buffer.find("\r\n\r\n");
      while (end == std::string::npos) {
        const ssize_t got = ::recv(client, chunk, sizeof chunk, 0);
        if (got <= 0) return Close(client);
        buffer.append(chunk, static_cast<size_t>(got));
        end = buffer.find("\r\n\r\n");
      }
      size_t bodyLength = 0;
      const size_t field = buffer.find("Content-Length:");
      if (field != std::string::npos && field < end) bodyLength = std::stoul(buffer.substr(field + 15));
      size_t have = buffer.size() - end - 4;
      const bool post = buffer.compare(0, 4, "POST") == 0;
      buffer.clear();
      while (have < bodyLength) {
        const ssize_t got = ::recv(client, chunk, std::min(sizeof chunk, bodyLength - have), 0);
        if (got <= 0) return Close(client);
        have += static_cast<size_t>(got);
      }
      const std::string body =
          post ? "<soap:Envelope><soap:Body><APResponse><RS><ID>" + std::to_string(++ids_) +
                     "</ID></RS></APResponse></soap:Body></soap:Envelope>"
               : std::string();
      const std::string reply = std::string(post ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                                "Content-Type: text/xml\r\nContent-Length: " + std::to_string(body.size()) +
                                "\r\n\r\n" + body;
      if (::send(client, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) return Close(client);
    }
  }
  static void Close(int client) { ::close(client); }

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<uint32_t> ids_{0};
  std::thread thread_;
};

// A device root with one blog and a 2 MB JPEG, linked under 100 names.
struct Device {
  std::filesystem::path root = std::filesystem::temp_directory_path() /
                               ("tessary-bench-sync-" + std::to_string(::getpid()));
  std::unique_ptr<platform::DeviceFileSystem> fs;
  std::unique_ptr<model::CWinBlogUser> user;
  model::CWinBlogStorage* blog = nullptr;
  std::filesystem::path photo;

  Device() {
    std::filesystem::remove_all(root);
    fs = std::make_unique<platform::DeviceFileSystem>(root);
    fs->Initialise();
    platform::DeviceFileSystem::SetCurrent(fs.get());
    platform::CreatePreferenceKeys();
    user = std::make_unique<model::CWinBlogUser>();
    user->SetEmail("bench@example.com");
    user->SetPassword("pw");
    user->SetUserId(1);
    auto made = user->MakeBlog("bench");
    made->GetBlogInfo()->downloadSize = model::kSizeNothing;
    made->GetBlogInfo()->uploadSize = model::kUploadFull;
    blog = user->Blogs().InsertBlog(std::move(made));
    blog->ComputePhotoFolder();
    photo = root / "photo.jpg";
    WriteNoisyJpeg(photo);
    platform::WriteLastMessageCheck(0xFFFFFF00u);
  }
  ~Device() { std::filesystem::remove_all(root); }

  static void WriteNoisyJpeg(const std::filesystem::path& file) {
    image::Bitmap bitmap;
    bitmap.Allocate(kWidth, kHeight);
    std::mt19937 random(7);
    for (uint32_t y = 0; y < kHeight; ++y) {
      for (uint32_t x = 0; x < kWidth; ++x) bitmap.Row(y)[x] = static_cast<uint16_t>(random());
    }
    image::WriteBitmapAsJpeg(bitmap, file.string(), 88);
  }

  void AddPendingEntries() {
    std::filesystem::path host;
    for (int i = 0; i < kPhotos; ++i) {
      const std::string path = blog->GetPhotoFolder() + "\\IMG_" + std::to_string(i) + ".jpg";
      fs->ToHostPath(path, host);
      std::filesystem::remove(host);
      std::filesystem::create_hard_link(photo, host);
      auto entry = std::make_unique<model::CWinBlogEntry>();
      blog->NewLocalEntry(*entry, path);
      entry->SetTitle("Photo " + std::to_string(i));
      entry->SetModified(true);
      blog->InsertEntry(std::move(entry));
    }
  }
};

// Memory as the kernel counts it for the process: "VmRSS" (resident now) or
// "VmHWM" (the peak), in MB.
double StatusMegabytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024.0;
  }
  return 0;
}

// How far the process's resident memory rises over what it holds when started:
// the kernel's peak is set back to the resident memory at Start.
class PeakRise {
 public:
  void Start() {
    std::ofstream("/proc/self/clear_refs") << "5";
    base_ = StatusMegabytes("VmRSS");
  }
  void Stop() { rise_ = std::max(rise_, StatusMegabytes("VmHWM") - base_); }
  double Megabytes() const { return rise_; }

 private:
  double base_ = 0;
  double rise_ = 0;
};

void BM_SyncUpload100Photos(benchmark::State& state) {
  Sink sink;
  Device device;
  service::ServiceSettings settings;
  settings.host = "127.0.0.1";
  settings.numericAddress = "127.0.0.1";
  settings.port = static_cast<uint16_t>(sink.Port());
  net::Win32Http http;
  service::MorvaneBlogService client(http, settings);
  service::SyncProgress progress(nullptr);
  const uintmax_t photoBytes = std::filesystem::file_size(device.photo);
  PeakRise peak;
  for (auto _ : state) {
    state.PauseTiming();
    device.AddPendingEntries();
    peak.Start();
    state.ResumeTiming();
    http.Open();
    client.SetStorage(device.blog);
    client.SetUser(device.user.get());
    client.SetAccount("bench@example.com", "pw", 1, "bench", "");
    client.SetPhotoSizes(model::kUploadFull, model::kSizeNothing);
    client.SetSyncTimestamp(0);
    const uint32_t code = client.Synchronize(&service::SyncProgress::ProgressCallback, &progress);
    http.Close();
    if (code != 0) state.SkipWithError(("sync answered " + std::to_string(code)).c_str());
    state.PauseTiming();
    peak.Stop();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPhotos * photoBytes));
  state.counters["photo_MB"] = static_cast<double>(photoBytes) / 1e6;
  state.counters["peak_rise_MB"] = peak.Megabytes();
}
BENCHMARK(BM_SyncUpload100Photos)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

void BM_CurlPost100Bodies(benchmark::State& state) {
  Sink sink;
  // The same size as an "AP" body: the photo base64-encoded plus the envelope.
  const uintmax_t photoBytes = 2'000'000;
  const std::string body((photoBytes + 2) / 3 * 4 + 1200, 'A');
  const std::string url = "http://127.0.0.1:" + std::to_string(sink.Port()) + "/ws/";
  CURL* curl = curl_easy_init();
  curl_slist* headers = curl_slist_append(nullptr, "Content-Type: text/xml; charset=utf-8");
  headers = curl_slist_append(headers, "Expect:");
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Discard);
  PeakRise peak;
  for (auto _ : state) {
    state.PauseTiming();
    peak.Start();
    state.ResumeTiming();
    for (int i = 0; i < kPhotos; ++i) {
      if (curl_easy_perform(curl) != CURLE_OK) state.SkipWithError("curl failed");
    }
    state.PauseTiming();
    peak.Stop();
    state.ResumeTiming();
  }
  state.counters["peak_rise_MB"] = peak.Megabytes();
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPhotos * photoBytes));
}
BENCHMARK(BM_CurlPost100Bodies)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// A "GC" answer listing `count` entries in random date order, as a first full
// download of a large blog brings them.
std::string ChangeListAnswer(int count) {
  std::mt19937 random(11);
  std::string answer = "<soap:Envelope><soap:Body><GCResponse><RS><TS>2026-01-01T00:00:00Z</TS><PS>";
  char date[32];
  for (int id = 1; id <= count; ++id) {
    const uint32_t seconds = random() % (86400u * 3650u);
    std::snprintf(date, sizeof date, "20%02u-%02u-%02uT%02u:%02u:%02u+0000", 10 + seconds / (86400u * 365u),
                  1 + seconds / (86400u * 31u) % 12u, 1 + seconds / 86400u % 28u, seconds / 3600u % 24u,
                  seconds / 60u % 60u, seconds % 60u);
    answer += "<PI><CI>0</CI><UI>3</UI><ID>" + std::to_string(id) + "</ID><TI>Entry " + std::to_string(id) +
              "</TI><CP>A caption &amp; more</CP><BY>Ann</BY><OU>http://h/" + std::to_string(id) +
              ".jpg</OU><PU></PU><TU></TU><PD>" + date + "</PD><TD>" + date + "</TD></PI>";
  }
  answer += "</PS></RS></GCResponse></soap:Body></soap:Envelope>";
  return answer;
}

// The answer applied to an empty blog (a full download).
void BM_ApplyChangeList(benchmark::State& state) {
  Device device;
  const int count = static_cast<int>(state.range(0));
  const std::string answer = ChangeListAnswer(count);
  net::Win32Http http;
  service::MorvaneBlogService client(http);
  for (auto _ : state) {
    state.PauseTiming();
    auto blog = device.user->MakeBlog("fresh");
    client.SetStorage(blog.get());
    client.SetSyncTimestamp(0);
    state.ResumeTiming();
    net::ReadOnlyMemoryStream stream(answer.data(), static_cast<uint32_t>(answer.size()));
    if (client.ApplyChanges(stream) != 0) state.SkipWithError("apply failed");
    if (blog->Entries().Count() != static_cast<size_t>(count)) state.SkipWithError("entries missing");
    state.PauseTiming();
    blog.reset();
    state.ResumeTiming();
  }
  state.counters["answer_MB"] = static_cast<double>(answer.size()) / 1e6;
}
BENCHMARK(BM_ApplyChangeList)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// The storage's share of the same work: the entries of that answer, already
// read, handed to an empty blog by AddEntry.
void BM_AddTheListedEntries(benchmark::State& state) {
  Device device;
  const int count = static_cast<int>(state.range(0));
  const std::string answer = ChangeListAnswer(count);
  net::Win32Http http;
  std::vector<std::unique_ptr<model::BlogEntry>> listed;
  {
    auto blog = device.user->MakeBlog("read");
    service::MorvaneBlogService client(http);
    client.SetStorage(blog.get());
    client.SetSyncTimestamp(0);
    net::ReadOnlyMemoryStream stream(answer.data(), static_cast<uint32_t>(answer.size()));
    client.ApplyChanges(stream);
    for (const auto& e : blog->Entries()) {
      auto copy = blog->NewEntry();
      static_cast<model::CWinBlogEntry&>(*copy).CopyFrom(*e);
      listed.push_back(std::move(copy));
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto blog = device.user->MakeBlog("fresh");
    state.ResumeTiming();
    for (const auto& e : listed) blog->AddEntry(*e);
    if (blog->Entries().Count() != static_cast<size_t>(count)) state.SkipWithError("entries missing");
    state.PauseTiming();
    blog.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AddTheListedEntries)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
