#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace server {

// Takes a chunked request body apart as its bytes arrive, keeping the data and
// refusing anything malformed or larger than the limit as soon as it shows.
class ChunkedDecoder {
 public:
  enum class Result { kMore, kDone, kMalformed, kTooLarge };

  explicit ChunkedDecoder(size_t limit) : limit_(limit) {}

  // Consumes bytes of data, appending chunk data to body, until the body ends
  // (kDone; used tells how much of data belonged to it) or data runs out (kMore).
  Result Feed(std::string_view data, std::string& body, size_t& used);

 private:
  enum class Phase { kSize, kData, kDataEnd, kTrailer, kDone };

  // A size line or trailer line, without its line end; false while incomplete.
  bool TakeLine(std::string_view& data, std::string& line);

  size_t limit_;
  Phase phase_ = Phase::kSize;
  std::string line_;
  uint64_t remaining_ = 0;
  size_t trailerBytes_ = 0;
  bool lineTooLong_ = false;
};

}  // namespace server
