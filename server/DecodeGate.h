#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace server {

// Bounds the photos decoded at once, by number (each takes a core for up to a
// second or two) and by the memory they need (a progressive picture is held
// whole; one larger than the budget runs alone). Uploads wait for their turn;
// resizes, which anyone may ask for, are refused while too many wait already.
class DecodeGate {
 public:
  DecodeGate(size_t running, size_t waiting, size_t memory)
      : running_(running), waiting_(waiting), memory_(memory) {}

  // A turn, given back when it goes out of scope.
  class Turn {
   public:
    Turn(DecodeGate* gate, size_t memory) : gate_(gate), memory_(memory) {}
    ~Turn() {
      if (gate_ != nullptr) gate_->Leave(memory_);
    }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    bool Granted() const { return gate_ != nullptr; }

   private:
    DecodeGate* gate_;
    size_t memory_;
  };

  // Waits for a turn for a decode needing this much memory.
  Turn Wait(size_t memory);
  // The same unless `waiting` others are waiting already (not granted then).
  Turn WaitUnlessCrowded(size_t memory);

 private:
  Turn Enter(size_t memory, bool mayRefuse);
  bool Fits(size_t memory) const { return active_ < running_ && (active_ == 0 || used_ + memory <= memory_); }
  void Leave(size_t memory);

  const size_t running_;
  const size_t waiting_;
  const size_t memory_;
  size_t active_ = 0;
  size_t used_ = 0;
  size_t queued_ = 0;
  std::mutex mutex_;
  std::condition_variable freed_;
};

}  // namespace server
