#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace server {

// Bounds how many photos are decoded at once: each decode may take hundreds of
// megabytes and a core for a second. Uploads wait for their turn; resizes, which
// anyone may ask for, are refused while too many wait already.
class DecodeGate {
 public:
  DecodeGate(size_t running, size_t waiting) : running_(running), waiting_(waiting) {}

  // A turn, given back when it goes out of scope.
  class Turn {
   public:
    explicit Turn(DecodeGate* gate) : gate_(gate) {}
    ~Turn() {
      if (gate_ != nullptr) gate_->Leave();
    }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    bool Granted() const { return gate_ != nullptr; }

   private:
    DecodeGate* gate_;
  };

  // Waits for a turn.
  Turn Wait();
  // Waits for a turn unless `waiting` others are waiting already (not granted then).
  Turn WaitUnlessCrowded();

 private:
  Turn Enter(bool mayRefuse);
  void Leave();

  const size_t running_;
  const size_t waiting_;
  size_t active_ = 0;
  size_t queued_ = 0;
  std::mutex mutex_;
  std::condition_variable freed_;
};

}  // namespace server
