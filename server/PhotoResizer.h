#pragma once

#include <string>

#include "server/PhotoStore.h"

namespace server {

// The resizer behind "si.aspx?img=PATH&ld=N&q=Q": a stored photo with its longest
// side at most N (0 means 480; never enlarged) at JPEG quality Q (0 means 85).
class PhotoResizer {
 public:
  static constexpr int kDefaultSide = 480;
  static constexpr int kDefaultQuality = 85;
  static constexpr int kMaxSide = 8192;

  // Answers the HTTP status (200, 400 for malformed values, 404 for an unknown
  // photo, 500 when a stored photo cannot be decoded) and fills jpeg on 200.
  static int Resize(const PhotoStore& photos, const std::string& img, const std::string& ld, const std::string& q,
                    std::string& jpeg);
};

}  // namespace server
