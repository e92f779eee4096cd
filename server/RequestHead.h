#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace server {

// The request line and headers of one HTTP/1.x request as the front reads them
// before a worker sees the request: how the body is framed, and the head handed
// on without the framing (the front hands the body over itself).
struct RequestHead {
  enum class Framing { kNone, kLength, kChunked };

  static constexpr size_t kMaxTarget = 8192;

  std::string method;
  std::string target;
  std::string version;
  std::vector<std::pair<std::string, std::string>> headers;
  Framing framing = Framing::kNone;
  uint64_t contentLength = 0;
  bool expectContinue = false;

  // Where the head ends in text (at its blank line): the head's length and the
  // length including the blank line; false when no blank line has arrived yet.
  static bool FindEnd(std::string_view text, size_t& headLength, size_t& totalLength);
  // Parses a head (up to its blank line). Answers 0, or the HTTP status to refuse
  // it with: 400 malformed, 414 target too long, 501 unknown transfer coding,
  // 505 not HTTP/1.0 or 1.1.
  static int Parse(std::string_view text, RequestHead& head);

  // Request line and headers without Content-Length, Transfer-Encoding and
  // Expect, ending with the blank line.
  std::string Forwarded() const;
};

}  // namespace server
