#include "net/HttpRequest.h"

#include "net/CompoundStream.h"
#include "net/ReadOnlyMemoryStream.h"
#include "net/Win32SmallStream.h"
#include "net/XmlWriter.h"

namespace net {

void HttpRequest::SetServer(bool secure, std::string_view host, const char* numericAddress,
                            uint16_t port, std::string_view path) {
  secure_ = secure;
  host_ = host;
  numericAddress_ = numericAddress;
  port_ = port;
  path_ = path;
}

bool HttpRequest::AddHeader(std::unique_ptr<Stream> header) {
  if (!header) return false;
  for (auto& slot : headers_) {
    if (!slot) {
      slot = std::move(header);
      return true;
    }
  }
  return false;
}

bool HttpRequest::AddHeader(std::string_view headerLine) {
  return AddHeader(std::make_unique<ReadOnlyMemoryStream>(headerLine.data(),
                                                          static_cast<uint32_t>(headerLine.size())));
}

std::string HttpRequest::HostHeaderValue() const {
  const uint16_t schemePort = secure_ ? 443 : 80;
  if (port_ == schemePort || port_ == 0) return host_;
  return host_ + ":" + std::to_string(port_);
}

bool HttpRequest::Ask() const { return callback_ == nullptr || callback_(context_, nullptr) != 0; }

void HttpRequest::Report(const ProgressRecord& record) const {
  if (callback_ != nullptr) callback_(context_, &record);
}

std::unique_ptr<Stream> HttpRequest::BuildRequestText() {
  std::unique_ptr<Stream> text = Win32SmallStream::Create();
  if (!text) return nullptr;
  const uint32_t bodySize = body_ ? body_->GetSize() : 0;
  const std::string firstLines = std::string(Method()) + " " + Path() + " HTTP/" +
                                 (version_.empty() ? std::string("1.1") : version_) + "\r\nHost: " +
                                 HostHeaderValue() + "\r\nContent-Type: " +
                                 (contentType_ ? contentType_ : "text") +
                                 "\r\nContent-Length: " + std::to_string(bodySize) + "\r\n";
  bool ok = XmlWriter::WriteText(*text, firstLines);
  for (auto& header : headers_) {
    if (!header) continue;
    header->Seek(0);
    ok = ok && XmlWriter::WriteStream(*text, *header) && XmlWriter::WriteText(*text, "\r\n");
  }
  ok = ok && XmlWriter::WriteText(*text, "\r\n");
  if (!ok) return nullptr;
  if (!body_) {
    text->Seek(0);
    return text;
  }
  body_->Seek(0);
  return std::make_unique<CompoundStream>(std::move(text), std::move(body_));
}

}  // namespace net
