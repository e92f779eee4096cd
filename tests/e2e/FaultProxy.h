#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// A TCP proxy on 127.0.0.1 (a port the system picks) in front of the service,
// which can break exchanges: cut a request once it has carried a number of
// bytes, swallow, cut or garble the answer to a request carrying a marker (e.g.
// the SOAP action "/ws/AP\"" or a path "GET /photos/"), or hold such answers back.
// The cut, drop and garble faults fire once.
class FaultProxy {
 public:
  explicit FaultProxy(int targetPort);
  ~FaultProxy();
  FaultProxy(const FaultProxy&) = delete;
  FaultProxy& operator=(const FaultProxy&) = delete;

  int Port() const { return port_; }
  // The next connection whose request bytes pass `bytes` is closed there.
  void CutRequestAfter(size_t bytes) { cutAfter_ = bytes; }
  // The answer to the next request carrying `marker` is dropped and the
  // connection closed once the service answered.
  void DropAnswerTo(const std::string& marker) { Arm(marker, Action::Drop, 0); }
  // The answer to the next request carrying `marker` ends after `bytes` bytes.
  void CutAnswerTo(const std::string& marker, size_t bytes) { Arm(marker, Action::Cut, bytes); }
  // The body of the answer to the next request carrying `marker` is overwritten.
  void GarbleAnswerTo(const std::string& marker) { Arm(marker, Action::Garble, 0); }
  // Every answer to a request carrying `marker` waits `ms` milliseconds (until
  // the proxy goes, for a stalled service).
  void DelayAnswersTo(const std::string& marker, int ms) { Arm(marker, Action::Delay, static_cast<size_t>(ms)); }
  bool Fired() const { return fired_; }
  // How many requests carrying `marker` went through (markers armed above only).
  int Seen(const std::string& marker);

 private:
  enum class Action { Drop, Cut, Garble, Delay };
  struct Rule {
    Action action;
    size_t amount;
    int seen = 0;
  };
  void Arm(const std::string& marker, Action action, size_t amount);
  void Accept();
  void Relay(int client);
  // The rule a request's recent bytes call for, counted as seen; none is null.
  bool Match(const std::string& recent, std::string& marker, Rule& rule);
  void Disarm(const std::string& marker);

  int listener_ = -1;
  int port_ = 0;
  int target_;
  std::atomic<bool> stop_{false};
  std::atomic<size_t> cutAfter_{0};
  std::atomic<bool> fired_{false};
  std::mutex mutex_;
  std::map<std::string, Rule> rules_;
  std::thread acceptor_;
  std::vector<std::thread> relays_;
};

}  // namespace e2e
