#include "net/ConnectionManager.h"

namespace net {

ConnectionManager& ConnectionManager::Current() {
  static ConnectionManager manager;
  return manager;
}

int32_t ConnectionManager::RequestConnection() {
  if (script_.requestResult < 0) return script_.requestResult;
  held_ = true;
  return 0;
}

ConnectionManager::WaitResult ConnectionManager::Wait(uint32_t) {
  if (script_.waitFails) return WaitResult::Failed;
  uint32_t next = kStatusConnected;
  if (!script_.statuses.empty()) {
    next = script_.statuses.front();
    if (script_.statuses.size() > 1) script_.statuses.pop_front();
  }
  if (next == 0) return WaitResult::TimedOut;
  signalled_ = next;
  return WaitResult::Signalled;
}

int32_t ConnectionManager::QueryStatus(uint32_t& status) {
  if (script_.statusQueryResult < 0) return script_.statusQueryResult;
  status = signalled_;
  return 0;
}

void ConnectionManager::Release(bool) {
  if (held_) ++releases_;
  held_ = false;
}

}  // namespace net
