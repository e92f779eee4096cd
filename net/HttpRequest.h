#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "net/ProgressRecord.h"
#include "net/Stream.h"

namespace net {

// One HTTP exchange as the service layer describes it: method, server, path, up to
// four extra header lines, content type and body, and the progress callback that is
// asked at every step of the transfer.
class HttpRequest {
 public:
  static constexpr int kMaxHeaders = 4;
  static constexpr uint16_t kDefaultPort = 80;

  HttpRequest() = default;
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  // "POST" or "GET"; the text must outlive the request.
  void SetMethod(const char* method) { method_ = method; }
  // An empty version means "1.1" in the request text.
  void SetProtocolVersion(std::string_view version) { version_ = version; }
  void SetServer(bool secure, std::string_view host, const char* numericAddress, uint16_t port,
                 std::string_view path);
  // Takes the first free header slot; a fifth header is dropped (false).
  bool AddHeader(std::unique_ptr<Stream> header);
  // Wraps the caller's text, which must outlive the request, without copying it.
  bool AddHeader(std::string_view headerLine);
  // The text must outlive the request; none means "text".
  void SetContentType(const char* contentType) { contentType_ = contentType; }
  // Replaces (and destroys) an earlier body.
  void SetBody(std::unique_ptr<Stream> body) { body_ = std::move(body); }
  void SetCallback(ProgressCallback callback, void* context) {
    callback_ = callback;
    context_ = context;
  }

  const char* Method() const { return method_ ? method_ : "GET"; }
  bool Secure() const { return secure_; }
  const std::string& Host() const { return host_; }
  const char* NumericAddress() const { return numericAddress_; }
  uint16_t Port() const { return port_; }
  std::string Path() const { return path_.empty() ? std::string("/") : path_; }
  // The Host header's value: the host name, with ":port" when the port is not the
  // scheme's own.
  std::string HostHeaderValue() const;
  ProgressCallback Callback() const { return callback_; }
  void* Context() const { return context_; }
  bool HasBody() const { return body_ != nullptr; }

  // Calls the callback without a record; false when the user asked to stop. Without a
  // callback the answer is always to go on.
  bool Ask() const;
  // Calls the callback with a record, when there is one.
  void Report(const ProgressRecord& record) const;

  // The request text: request line, Host, Content-Type, Content-Length, the extra
  // header lines each with CR LF, an empty line, then the body. The body's ownership
  // moves into the answered stream; null when memory is short.
  std::unique_ptr<Stream> BuildRequestText();

 private:
  const char* method_ = nullptr;
  std::string version_;
  bool secure_ = false;
  std::string host_;
  const char* numericAddress_ = nullptr;
  uint16_t port_ = kDefaultPort;
  std::string path_;
  std::array<std::unique_ptr<Stream>, kMaxHeaders> headers_;
  const char* contentType_ = nullptr;
  std::unique_ptr<Stream> body_;
  ProgressCallback callback_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace net
