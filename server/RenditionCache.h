#pragma once

#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

namespace server {

// Resized photos kept in memory, the least recently used going first once the
// byte budget is full, so a rendition asked for again costs no decode.
class RenditionCache {
 public:
  explicit RenditionCache(size_t budget) : budget_(budget) {}

  std::optional<std::string> Find(const std::string& key);
  // Renditions larger than an eighth of the budget are not kept.
  void Put(const std::string& key, const std::string& jpeg);

 private:
  using Entry = std::pair<std::string, std::string>;

  const size_t budget_;
  size_t used_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
  std::mutex mutex_;
};

}  // namespace server
