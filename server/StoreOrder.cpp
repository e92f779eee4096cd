#include "server/StoreOrder.h"

#include <algorithm>
#include <cctype>

namespace server {

namespace {

std::string Folded(const std::string& account) {
  std::string folded = account;
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return folded;
}

}  // namespace

StoreOrder::Ticket StoreOrder::Arrive() {
  std::lock_guard lock(mutex_);
  uint64_t number = next_++;
  pending_.emplace(number, Pending{});
  return Ticket(*this, number);
}

void StoreOrder::Classify(uint64_t number, bool store, const std::string& account) {
  {
    std::lock_guard lock(mutex_);
    auto found = pending_.find(number);
    if (found == pending_.end()) return;
    if (store) {
      found->second.classified = true;
      found->second.account = Folded(account);
    } else {
      pending_.erase(found);
    }
  }
  changed_.notify_all();
}

void StoreOrder::AwaitEarlierStores(uint64_t number, const std::string& account) {
  std::string folded = Folded(account);
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] {
    for (auto it = pending_.begin(); it != pending_.end() && it->first < number; ++it) {
      if (!it->second.classified || it->second.account == folded) return false;
    }
    return true;
  });
}

void StoreOrder::Leave(uint64_t number) {
  {
    std::lock_guard lock(mutex_);
    pending_.erase(number);
  }
  changed_.notify_all();
}

}  // namespace server
