#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "server/HttpService.h"

namespace servertest {

// A tessary-service in a temporary data folder, serving on 127.0.0.1 with a port
// the system picks, on a clock the test controls. Stopped and removed at the end.
class ServiceHarness {
 public:
  // maxRequest: the request size limit (0: the service's default).
  explicit ServiceHarness(size_t maxRequest = 0);
  // A service whose settings the test adjusts before it starts.
  explicit ServiceHarness(const std::function<void(server::ServiceConfig&)>& configure);
  ~ServiceHarness();
  ServiceHarness(const ServiceHarness&) = delete;
  ServiceHarness& operator=(const ServiceHarness&) = delete;

  int Port() const { return service_->Port(); }
  const std::filesystem::path& DataDir() const { return dir_; }
  std::string PublicHost() const { return "127.0.0.1:" + std::to_string(Port()); }

  int64_t Now() const { return clock_->load(); }
  void SetNow(int64_t now) { clock_->store(now); }
  void Advance(int64_t seconds) { clock_->fetch_add(seconds); }

  // Admin commands on the same data folder; fail the test when they fail.
  void AddUser(const std::string& email, const std::string& password, const std::string& first = "",
               const std::string& last = "", bool pro = false, int64_t quota = 100);
  void AddBlog(const std::string& url, const std::string& owner, bool group = false, bool hidden = false,
               const std::string& viewPassword = "", bool comments = true);
  void AddMember(const std::string& url, const std::string& email);
  // The demo accounts, blogs, photos and comments of "seed-demo".
  void SeedDemo();

  size_t PhotoFileCount() const;

  // The graceful stop a SIGTERM starts.
  void Finish() { service_->Finish(); }
  bool RunEndedWithin(std::chrono::milliseconds limit) const;

 private:
  std::filesystem::path dir_;
  std::shared_ptr<std::atomic<int64_t>> clock_;
  std::unique_ptr<server::HttpService> service_;
  std::thread thread_;
  std::atomic<bool> runEnded_{false};
};

}  // namespace servertest
