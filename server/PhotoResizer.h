#pragma once

#include <string>

#include "server/PhotoStore.h"
#include "server/RenditionCache.h"

namespace server {

// The resizer behind "si.aspx?img=PATH&ld=N&q=Q": a stored photo with its longest
// side at most N (0 means 480) at JPEG quality Q (0 means 85). A photo that fits
// is sent as stored; anything made smaller is at most kMaxSide on its longest
// side, decoded no larger than needed, and kept for the next time it is asked for.
class PhotoResizer {
 public:
  static constexpr int kDefaultSide = 480;
  static constexpr int kDefaultQuality = 85;
  static constexpr int kMaxSide = 1024;
  static constexpr size_t kCacheBytes = 16u * 1024 * 1024;

  explicit PhotoResizer(PhotoStore& photos) : photos_(photos), cache_(kCacheBytes) {}

  // Answers the HTTP status (200, 400 for malformed values, 404 for an unknown
  // photo, 500 when a stored photo cannot be decoded, 503 while too many resizes
  // wait) and fills jpeg on 200.
  int Resize(const std::string& img, const std::string& ld, const std::string& q, std::string& jpeg);

 private:
  PhotoStore& photos_;
  RenditionCache cache_;
};

}  // namespace server
