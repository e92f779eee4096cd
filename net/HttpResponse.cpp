#include "net/HttpResponse.h"

#include <cstdlib>
#include <string>

#include "net/HttpErrors.h"
#include "net/XmlReader.h"

namespace net {

namespace {

constexpr uint32_t kTokenSize = 64;
constexpr int kStatusContinue = 100;

void SkipLine(Stream& stream) {
  uint8_t ch = 0;
  while (stream.ReadByte(ch) && ch != '\n') {
  }
}

}  // namespace

int HttpResponse::ReadStatus(Stream& stream) {
  std::string version;
  std::string status;
  if (!XmlReader::ReadToken(stream, version, kTokenSize) ||
      !XmlReader::ReadToken(stream, status, kTokenSize)) {
    return -1;
  }
  if (status.size() != 3) return -1;
  for (char c : status) {
    if (c < '0' || c > '9') return -1;
  }
  return std::atoi(status.c_str());
}

uint32_t HttpResponse::GetStatus() {
  if (result_ != 0) return result_;
  if (!answer_) return kResultNoAnswer;
  answer_->Seek(0);
  int status = ReadStatus(*answer_);
  if (status == kStatusContinue) {
    SkipLine(*answer_);
    status = ReadStatus(*answer_);
  }
  if (status < 0) return kHttpErrInvalidServerResponse;
  if (status >= 200 && status <= 299) return 0;
  return static_cast<uint32_t>(status);
}

Stream* HttpResponse::GetBody() {
  if (!answer_) return nullptr;
  if (!bodyOffsetKnown_) {
    answer_->Seek(0);
    if (ReadStatus(*answer_) == kStatusContinue) XmlReader::FindText(*answer_, "\r\n\r\n");
    XmlReader::FindText(*answer_, "\r\n\r\n");
    bodyOffset_ = answer_->GetPosition();
    bodyOffsetKnown_ = true;
  }
  answer_->Seek(bodyOffset_);
  return answer_.get();
}

}  // namespace net
