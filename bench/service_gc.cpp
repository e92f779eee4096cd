// Requests per second of "GC" (a full change list) on a blog of 1,000 entries,
// answered in-process, and over HTTP on loopback to one client and to eight at once.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>
#include <unistd.h>

#include "server/AdminCommands.h"
#include "server/ContentStore.h"
#include "server/Crypto.h"
#include "server/DataFolder.h"
#include "server/Database.h"
#include "server/HttpService.h"
#include "server/PhotoStore.h"
#include "server/SoapService.h"
#include "server/Timestamp.h"
#include "server/Transaction.h"

namespace {

constexpr int kEntries = 1000;
constexpr int kCategories = 10;

// A data folder holding one blog with 1,000 entries, 10 categories and a comment
// on every other entry.
struct BenchData {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessary-bench-gc-" + std::to_string(getpid()));
  uint64_t nonce = 0;

  BenchData() {
    std::filesystem::remove_all(dir);
    std::ostringstream out;
    server::AdminCommands admin(dir, out, out);
    admin.AddUser({"bench@example.com", "pw", "Bench", "Mark", true, {}}, 0);
    admin.AddBlog({"bench", "bench@example.com", "Bench blog", "1,000 entries", false, false, "", true});
    server::Database db;
    std::string error;
    server::DataFolder::Open(dir, db, error);
    server::Transaction tx(db);
    server::ContentStore content(db);
    for (int c = 0; c < kCategories; ++c) content.AddCategory(1, "Category " + std::to_string(c), 0);
    for (int i = 0; i < kEntries; ++i) {
      server::EntryRecord entry;
      entry.blog = 1;
      entry.author = 1;
      entry.category = i % (kCategories + 1);
      entry.title = "Entry number " + std::to_string(i) + " & friends";
      entry.caption = "A caption of moderate length for entry " + std::to_string(i) + ", written <on> the way.";
      entry.sortTime = 1700000000 + i * 3600;
      entry.dateText = server::Timestamp::FormatUtc(entry.sortTime);
      entry.date2Text = entry.dateText;
      entry.photoKey = server::Crypto::RandomHex(10);
      entry.width = 1600;
      entry.height = 1200;
      int64_t id = content.AddEntry(entry, 0);
      if (i % 2 == 0) {
        server::CommentRecord comment{0, 1, id, 1, "", "2026-01-01T00:00:00Z", "Nice one!", false};
        content.AddComment(comment, 0);
      }
    }
    tx.Commit();
  }
  ~BenchData() { std::filesystem::remove_all(dir); }

  std::string Body() {
    std::string token = "bench" + std::to_string(++nonce);
    std::string created = server::Timestamp::FormatUtc(std::time(nullptr));
    std::string au = "<AU><UN>bench@example.com</UN><DI>" + server::Crypto::Sha1Base64(token + created + "pw") +
                     "</DI><CR>" + created + "</CR><NO>" + token + "</NO></AU>";
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><GC xmlns=\"http://b/ws\"><RQ><GC>"
           "<RQ><V>3</V>" +
           au + "<BI>bench</BI><TS /><VP /><MX /></RQ></GC></RQ></GC></soap:Body></soap:Envelope>\r\n";
  }
};

BenchData& Data() {
  static BenchData data;
  return data;
}

void BM_GcInProcess(benchmark::State& state) {
  BenchData& data = Data();
  server::ServiceConfig config;
  config.dataDir = data.dir;
  config.publicHost = "bench.example";
  server::Database db;
  std::string error;
  server::DataFolder::Open(data.dir, db, error);
  server::PhotoStore photos(server::DataFolder::Photos(data.dir));
  server::SoapService soap(db, photos, config);
  size_t bytes = 0;
  for (auto _ : state) {
    std::string answer = soap.Handle("\"http://b/ws/GC\"", data.Body());
    if (answer.find("<MS") != std::string::npos) state.SkipWithError("GC refused");
    bytes += answer.size();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_GcInProcess)->Unit(benchmark::kMillisecond);

// A service on loopback for the HTTP benchmarks.
class RunningService {
 public:
  explicit RunningService(BenchData& data) {
    config_.dataDir = data.dir;
    service_ = std::make_unique<server::HttpService>(config_);
    std::string error;
    if (!service_->Start("127.0.0.1", 0, error)) {
      error_ = error;
      return;
    }
    thread_ = std::thread([this] { service_->Run(); });
    service_->WaitUntilRunning();
  }
  ~RunningService() {
    if (thread_.joinable()) {
      service_->Stop();
      thread_.join();
    }
  }
  const std::string& Error() const { return error_; }
  int Port() const { return service_->Port(); }

 private:
  server::ServiceConfig config_;
  std::unique_ptr<server::HttpService> service_;
  std::thread thread_;
  std::string error_;
};

bool PostGc(httplib::Client& client, BenchData& data, std::mutex& bodies) {
  std::string body;
  {
    std::lock_guard lock(bodies);
    body = data.Body();
  }
  auto result = client.Post("/ws/", {{"SOAPAction", "\"http://b/ws/GC\""}}, body, "text/xml; charset=utf-8");
  return result && result->status == 200 && result->body.find("<MS") == std::string::npos;
}

void BM_GcOverHttp(benchmark::State& state) {
  BenchData& data = Data();
  RunningService service(data);
  if (!service.Error().empty()) {
    state.SkipWithError(service.Error().c_str());
    return;
  }
  std::mutex bodies;
  httplib::Client client("127.0.0.1", service.Port());
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);
  for (auto _ : state) {
    if (!PostGc(client, data, bodies)) {
      state.SkipWithError("GC failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GcOverHttp)->Unit(benchmark::kMillisecond)->UseRealTime();

// Eight clients at once, each on its own kept connection: requests per second is
// items_per_second.
void BM_GcOverHttp8Clients(benchmark::State& state) {
  constexpr int kClients = 8;
  constexpr int kRequestsEach = 5;
  BenchData& data = Data();
  RunningService service(data);
  if (!service.Error().empty()) {
    state.SkipWithError(service.Error().c_str());
    return;
  }
  std::mutex bodies;
  std::vector<std::unique_ptr<httplib::Client>> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.push_back(std::make_unique<httplib::Client>("127.0.0.1", service.Port()));
    clients.back()->set_keep_alive(true);
    clients.back()->set_tcp_nodelay(true);
  }
  std::atomic<bool> failed{false};
  for (auto _ : state) {
    std::vector<std::thread> running;
    for (auto& client : clients) {
      running.emplace_back([&, c = client.get()] {
        for (int i = 0; i < kRequestsEach; ++i) {
          if (!PostGc(*c, data, bodies)) failed = true;
        }
      });
    }
    for (std::thread& t : running) t.join();
    if (failed) {
      state.SkipWithError("GC failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kClients * kRequestsEach);
}
BENCHMARK(BM_GcOverHttp8Clients)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
