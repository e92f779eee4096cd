#include "server/RenditionCache.h"

namespace server {

std::optional<std::string> RenditionCache::Find(const std::string& key) {
  std::lock_guard lock(mutex_);
  auto found = index_.find(key);
  if (found == index_.end()) return std::nullopt;
  entries_.splice(entries_.begin(), entries_, found->second);
  return found->second->second;
}

void RenditionCache::Put(const std::string& key, const std::string& jpeg) {
  if (jpeg.size() > budget_ / 8) return;
  std::lock_guard lock(mutex_);
  if (index_.count(key) != 0) return;
  entries_.emplace_front(key, jpeg);
  index_.emplace(key, entries_.begin());
  used_ += jpeg.size();
  while (used_ > budget_) {
    used_ -= entries_.back().second.size();
    index_.erase(entries_.back().first);
    entries_.pop_back();
  }
}

}  // namespace server
