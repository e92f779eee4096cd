#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "net/HttpRequest.h"
#include "net/HttpResponse.h"
#include "net/Stream.h"

namespace net {

// The program's HTTP client: sends one request at a time and offers the token and
// time routines that request authentication uses.
class Http {
 public:
  Http() = default;
  Http(const Http&) = delete;
  Http& operator=(const Http&) = delete;
  // Closes nothing: Close must have run.
  virtual ~Http() = default;

  // Sends the request and answers its response, or null only when the response itself
  // cannot be made (last result 8). Failures travel in the response's result code.
  virtual std::unique_ptr<HttpResponse> Send(HttpRequest& request) = 0;
  // The User-Agent header line; the base class has none.
  virtual std::unique_ptr<Stream> MakeUserAgentHeader();
  // Opens the session; false (with the reason as last result) when it cannot.
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual std::string MakeRandomToken();
  virtual bool IsCancelled(uint32_t code) const;
  virtual bool IsFailure(uint32_t code) const;
  // The local clock as a time value.
  virtual uint32_t Now();
  // Seconds between 1904-01-01 and 1970-01-01.
  virtual uint32_t EpochOffset() const;
  // Local time minus UTC, in seconds, now.
  virtual int32_t TimeZoneOffset();
  virtual std::string FormatTimestamp(uint32_t timeValue, bool utc);
  virtual uint32_t ParseTimestamp(std::string_view text);

  uint32_t LastResult() const { return lastResult_; }

 protected:
  uint32_t lastResult_ = 0;
};

}  // namespace net
