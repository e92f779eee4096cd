#pragma once

#include <cstdint>
#include <memory>

#include "net/Stream.h"

namespace net {

// The outcome of one exchange: a result code and the answer stream, which holds the
// raw header block (CR LF line ends) followed by the body.
class HttpResponse {
 public:
  HttpResponse() = default;
  HttpResponse(const HttpResponse&) = delete;
  HttpResponse& operator=(const HttpResponse&) = delete;

  uint32_t Result() const { return result_; }
  void SetResult(uint32_t result) { result_ = result; }
  void SetAnswer(std::unique_ptr<Stream> answer) { answer_ = std::move(answer); }
  Stream* Answer() const { return answer_.get(); }

  // 0 for a 2xx answer; a failed transfer's result; 65535 without an answer stream;
  // otherwise the HTTP status (after an interim 100, the final one). An answer whose
  // status line holds no status number is an invalid server response.
  uint32_t GetStatus();
  // The answer stream positioned at the first body byte, or null without one.
  Stream* GetBody();

 private:
  // Reads the status line's two tokens; answers the status, or -1 when unreadable.
  static int ReadStatus(Stream& stream);

  uint32_t result_ = 0;
  bool bodyOffsetKnown_ = false;
  uint32_t bodyOffset_ = 0;
  std::unique_ptr<Stream> answer_;
};

}  // namespace net
