#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// A TCP proxy on 127.0.0.1 (a port the system picks) in front of the service,
// which can break one exchange: cut a request once it has carried a number of
// bytes, or let a request through and swallow its answer. Each fault fires once.
class FaultProxy {
 public:
  explicit FaultProxy(int targetPort);
  ~FaultProxy();
  FaultProxy(const FaultProxy&) = delete;
  FaultProxy& operator=(const FaultProxy&) = delete;

  int Port() const { return port_; }
  // The next connection whose request bytes pass `bytes` is closed there.
  void CutRequestAfter(size_t bytes) { cutAfter_ = bytes; }
  // The answer to the next request carrying `marker` (e.g. the SOAP action
  // "/ws/AP\"") is dropped and the connection closed once the service answered.
  void DropAnswerTo(const std::string& marker);
  bool Fired() const { return fired_; }

 private:
  void Accept();
  void Relay(int client);

  int listener_ = -1;
  int port_ = 0;
  int target_;
  std::atomic<bool> stop_{false};
  std::atomic<size_t> cutAfter_{0};
  std::atomic<bool> fired_{false};
  std::mutex mutex_;
  std::string dropMarker_;
  std::thread acceptor_;
  std::vector<std::thread> relays_;
};

}  // namespace e2e
