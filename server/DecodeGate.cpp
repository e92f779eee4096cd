#include "server/DecodeGate.h"

namespace server {

DecodeGate::Turn DecodeGate::Wait(size_t memory) { return Enter(memory, false); }

DecodeGate::Turn DecodeGate::WaitUnlessCrowded(size_t memory) { return Enter(memory, true); }

DecodeGate::Turn DecodeGate::Enter(size_t memory, bool mayRefuse) {
  std::unique_lock lock(mutex_);
  if (!Fits(memory)) {
    if (mayRefuse && queued_ >= waiting_) return Turn(nullptr, 0);
    ++queued_;
    freed_.wait(lock, [this, memory] { return Fits(memory); });
    --queued_;
  }
  ++active_;
  used_ += memory;
  return Turn(this, memory);
}

void DecodeGate::Leave(size_t memory) {
  {
    std::lock_guard lock(mutex_);
    --active_;
    used_ -= memory;
  }
  freed_.notify_all();
}

}  // namespace server
