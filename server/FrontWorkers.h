#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "server/FrontConnection.h"

namespace server {

// The threads that answer complete requests for the HTTP front. A connection
// goes in with Submit and comes back through TakeDone; each time one is done
// the front is woken through its event descriptor.
class FrontWorkers {
 public:
  using Job = std::function<void(FrontConnection&)>;

  explicit FrontWorkers(int wakeFd) : wakeFd_(wakeFd) {}
  ~FrontWorkers() { Stop(); }
  FrontWorkers(const FrontWorkers&) = delete;
  FrontWorkers& operator=(const FrontWorkers&) = delete;

  void Start(int count, Job job);
  void Submit(FrontConnection* connection);
  std::vector<FrontConnection*> TakeDone();
  // Finishes the submitted requests and joins the threads.
  void Stop();

 private:
  void Loop();

  const int wakeFd_;
  Job job_;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable submitted_;
  std::deque<FrontConnection*> queue_;
  std::vector<FrontConnection*> done_;
  bool stopping_ = false;
};

}  // namespace server
