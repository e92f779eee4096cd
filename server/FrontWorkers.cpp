#include "server/FrontWorkers.h"

#include <unistd.h>

#include <cstdint>

namespace server {

void FrontWorkers::Start(int count, Job job) {
  job_ = std::move(job);
  stopping_ = false;
  for (int i = 0; i < count; ++i) threads_.emplace_back([this] { Loop(); });
}

void FrontWorkers::Submit(FrontConnection* connection) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(connection);
  }
  submitted_.notify_one();
}

std::vector<FrontConnection*> FrontWorkers::TakeDone() {
  std::lock_guard lock(mutex_);
  std::vector<FrontConnection*> done;
  done.swap(done_);
  return done;
}

void FrontWorkers::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  submitted_.notify_all();
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
}

void FrontWorkers::Loop() {
  for (;;) {
    FrontConnection* connection = nullptr;
    {
      std::unique_lock lock(mutex_);
      submitted_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      connection = queue_.front();
      queue_.pop_front();
    }
    job_(*connection);
    {
      std::lock_guard lock(mutex_);
      done_.push_back(connection);
    }
    uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wakeFd_, &one, sizeof one);
  }
}

}  // namespace server
