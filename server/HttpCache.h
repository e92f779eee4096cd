#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace server {

// Validators of what the service sends from its files (photos, renditions, the
// stylesheet) and the answer to conditional requests, so browsers and phones
// fetch a photo once.
class HttpCache {
 public:
  struct Validators {
    std::string etag;
    std::string lastModified;
    int64_t modified = 0;
  };

  // From the file's size and time of last change; answers made differently from
  // the same file (renditions) pass a variant to tell them apart. False when the
  // file cannot be read.
  static bool ForFile(const std::filesystem::path& file, std::string_view variant, Validators& validators);
  // True when the request's If-None-Match (which wins when present) or
  // If-Modified-Since shows that the client holds this version.
  static bool NotModified(std::string_view ifNoneMatch, std::string_view ifModifiedSince, const Validators& validators);

  // "Sun, 06 Nov 1994 08:49:37 GMT"
  static std::string FormatDate(int64_t unixSeconds);
  static bool ParseDate(std::string_view text, int64_t& unixSeconds);
};

}  // namespace server
