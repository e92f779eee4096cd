#pragma once

#include <atomic>
#include <chrono>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/FrontConnection.h"
#include "server/FrontWorkers.h"
#include "server/HttpLimits.h"
#include "server/RequestServer.h"

namespace server {

// The service's HTTP front: one thread accepts connections and receives every
// request head and body itself, under the deadlines and caps of HttpLimits, and
// sends every answer; workers only see complete requests. A client that is slow
// on purpose therefore holds a connection, never a worker, and is dropped when
// it breaks a limit.
class HttpFront {
 public:
  // A connection closes after this many requests.
  static constexpr size_t kRequestsPerConnection = 100;

  HttpFront(RequestServer& server, const HttpLimits& limits, size_t maxBody);
  ~HttpFront();
  HttpFront(const HttpFront&) = delete;
  HttpFront& operator=(const HttpFront&) = delete;

  // Binds host:port (port 0: one the system picks). False with a reason in error.
  bool Listen(const std::string& host, int port, std::string& error);
  int Port() const { return port_; }
  // Serves until Stop(); false when serving could not start.
  bool Run();
  bool Running() const { return running_; }
  // Safe to call from a signal handler and from any thread.
  void Stop();
  // Stops taking connections and closes idle ones; Run() returns once every
  // request under way is answered, or when HttpLimits::stopGrace is over.
  // Safe to call from a signal handler and from any thread.
  void Finish();

 private:
  using Clock = FrontConnection::Clock;
  using State = FrontConnection::State;

  void Accept();
  void Serve(FrontConnection& c, uint32_t events);
  void Receive(FrontConnection& c);
  void Consume(FrontConnection& c, std::string_view data);
  bool ReadHead(FrontConnection& c, std::string_view data, std::string& rest);
  bool StartBody(FrontConnection& c);
  bool TakeBody(FrontConnection& c, std::string_view data, size_t& used);
  void Dispatch(FrontConnection& c);
  void Answer(FrontConnection& c);
  void CollectAnswers();
  void StartWriting(FrontConnection& c);
  void Send(FrontConnection& c);
  void AwaitNextRequest(FrontConnection& c);
  void StartDraining(FrontConnection& c);
  void Refuse(FrontConnection& c, int status);
  void Close(FrontConnection& c);
  void Sweep(Clock::time_point now);
  void BeginFinishing(Clock::time_point now);
  bool Finished(Clock::time_point now) const;

  void EnterWaiting(FrontConnection& c);
  void LeaveWaiting(FrontConnection& c);
  bool EvictOldestWaiting();
  void EnforceAnswerBudget();
  void ReleaseBody(FrontConnection& c);
  bool TooSlow(const FrontConnection& c, Clock::time_point now) const;
  void Watch(FrontConnection& c, uint32_t events);
  void WatchListener(bool on);

  RequestServer& server_;
  const HttpLimits limits_;
  const size_t maxBody_;
  int listenFd_ = -1;
  int epollFd_ = -1;
  int wakeFd_ = -1;
  int port_ = 0;
  bool listening_ = false;
  Clock::time_point listenerPausedUntil_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> finishing_{false};
  bool finishStarted_ = false;
  Clock::time_point finishDeadline_;
  std::atomic<bool> running_{false};

  FrontWorkers workers_;
  std::unordered_map<FrontConnection*, std::unique_ptr<FrontConnection>> connections_;
  // Closed during one round of events; freed after it, when no event can name them.
  std::vector<std::unique_ptr<FrontConnection>> closed_;
  // Connections waiting for or in a request head, longest waiting first.
  std::list<FrontConnection*> waiting_;
  size_t heldBodies_ = 0;
  size_t heldAnswers_ = 0;
  // Large requests leave free memory behind in the allocator; it goes back to
  // the system once the workers are idle.
  bool trimPending_ = false;
};

}  // namespace server
