#include "server/DecodeGate.h"

namespace server {

DecodeGate::Turn DecodeGate::Wait() { return Enter(false); }

DecodeGate::Turn DecodeGate::WaitUnlessCrowded() { return Enter(true); }

DecodeGate::Turn DecodeGate::Enter(bool mayRefuse) {
  std::unique_lock lock(mutex_);
  if (active_ >= running_) {
    if (mayRefuse && queued_ >= waiting_) return Turn(nullptr);
    ++queued_;
    freed_.wait(lock, [this] { return active_ < running_; });
    --queued_;
  }
  ++active_;
  return Turn(this);
}

void DecodeGate::Leave() {
  {
    std::lock_guard lock(mutex_);
    --active_;
  }
  freed_.notify_one();
}

}  // namespace server
