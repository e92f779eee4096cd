#include "server/ChunkedDecoder.h"

#include <algorithm>

#include "server/GrowBuffer.h"

namespace server {

namespace {

constexpr size_t kMaxLine = 4096;
constexpr size_t kMaxTrailers = 16 * 1024;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "SIZE[;extension]" with 1 to 15 hex digits.
bool ParseSize(std::string_view line, uint64_t& size) {
  line = line.substr(0, line.find(';'));
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  if (line.empty() || line.size() > 15) return false;
  size = 0;
  for (char c : line) {
    int digit = HexValue(c);
    if (digit < 0) return false;
    size = size * 16 + static_cast<uint64_t>(digit);
  }
  return true;
}

}  // namespace

bool ChunkedDecoder::TakeLine(std::string_view& data, std::string& line) {
  size_t lf = data.find('\n');
  std::string_view part = data.substr(0, lf);
  if (line_.size() + part.size() > kMaxLine) lineTooLong_ = true;
  if (!lineTooLong_) line_.append(part);
  data.remove_prefix(lf == std::string_view::npos ? data.size() : lf + 1);
  if (lf == std::string_view::npos) return false;
  line.swap(line_);
  line_.clear();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

ChunkedDecoder::Result ChunkedDecoder::Feed(std::string_view data, std::string& body, size_t& used) {
  const size_t total = data.size();
  std::string line;
  while (phase_ != Phase::kDone) {
    if (lineTooLong_) return Result::kMalformed;
    if (data.empty()) {
      used = total;
      return Result::kMore;
    }
    switch (phase_) {
      case Phase::kSize: {
        if (!TakeLine(data, line)) break;
        uint64_t size = 0;
        if (!ParseSize(line, size)) return Result::kMalformed;
        if (size > limit_ - std::min(limit_, body.size())) return Result::kTooLarge;
        remaining_ = size;
        phase_ = size == 0 ? Phase::kTrailer : Phase::kData;
        break;
      }
      case Phase::kData: {
        size_t take = static_cast<size_t>(std::min<uint64_t>(remaining_, data.size()));
        GrowBuffer(body, body.size() + take, limit_);
        body.append(data.substr(0, take));
        data.remove_prefix(take);
        remaining_ -= take;
        if (remaining_ == 0) phase_ = Phase::kDataEnd;
        break;
      }
      case Phase::kDataEnd:
        if (!TakeLine(data, line)) break;
        if (!line.empty()) return Result::kMalformed;
        phase_ = Phase::kSize;
        break;
      case Phase::kTrailer:
        if (!TakeLine(data, line)) break;
        trailerBytes_ += line.size() + 2;
        if (trailerBytes_ > kMaxTrailers) return Result::kMalformed;
        if (line.empty()) phase_ = Phase::kDone;
        break;
      case Phase::kDone:
        break;
    }
  }
  used = total - data.size();
  return Result::kDone;
}

}  // namespace server
