#include "tests/service/ServiceFixture.h"

#include <cstdlib>
#include <ctime>

#include <openssl/evp.h>
#include <openssl/sha.h>

#include "platform/TimeValue.h"

namespace servicetest {

ServiceTest::ServiceTest() {
  if (const char* tz = std::getenv("TZ")) {
    hadTz_ = true;
    savedTz_ = tz;
  }
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  http_.now = Time(2026, 3, 4, 5, 6, 7);
  http_.Open();
  settings_.host = "127.0.0.1";
  settings_.numericAddress = "127.0.0.1";
  settings_.port = server_.Port();
  user_.SetEmail("me@example.com");
  user_.SetPassword("secret");
  user_.SetUserId(kUserId);
  blog_ = user_.MakeBlog("myblog");
  blog_->SetAccount(&user_);
  service_ = std::make_unique<service::MorvaneBlogService>(http_, settings_);
  service_->SetStorage(blog_.get());
  service_->SetUser(&user_);
  service_->SetAccount("me@example.com", "secret", kUserId, "myblog", "");
  service_->SetPhotoSizes(3, 4);
  service_->SetCallback(&ServiceTest::Callback, this);
}

ServiceTest::~ServiceTest() {
  http_.Close();
  if (hadTz_) {
    ::setenv("TZ", savedTz_.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

uint32_t ServiceTest::Time(int year, int month, int day, int hour, int minute, int second) {
  platform::SystemTime st;
  st.year = static_cast<uint16_t>(year);
  st.month = static_cast<uint16_t>(month);
  st.day = static_cast<uint16_t>(day);
  st.hour = static_cast<uint16_t>(hour);
  st.minute = static_cast<uint16_t>(minute);
  st.second = static_cast<uint16_t>(second);
  uint32_t value = 0;
  EXPECT_TRUE(platform::SystemTimeToTimeValue(st, value));
  return value;
}

std::string ServiceTest::Answer(const std::string& operation, const std::string& elements) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
         "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><" +
         operation + "Response><RS>" + elements + "</RS></" + operation +
         "Response></soap:Body></soap:Envelope>";
}

std::string ServiceTest::Body(size_t n) {
  const auto requests = server_.Requests();
  return n < requests.size() ? testsupport::RawHttpServer::BodyOf(requests[n]) : std::string();
}

std::string ServiceTest::Elements(size_t n) {
  const std::string body = Body(n);
  const size_t start = body.find("<V>3</V>");
  const size_t end = body.rfind("</RQ></");
  if (start == std::string::npos || end == std::string::npos) return std::string();
  const size_t from = start + 8;
  return body.substr(from, body.rfind("</RQ></", end - 1) - from);
}

std::string Digest(const std::string& material) {
  unsigned char sha[SHA_DIGEST_LENGTH];
  ::SHA1(reinterpret_cast<const unsigned char*>(material.data()), material.size(), sha);
  unsigned char encoded[64];
  const int n = ::EVP_EncodeBlock(encoded, sha, SHA_DIGEST_LENGTH);
  return std::string(reinterpret_cast<char*>(encoded), static_cast<size_t>(n));
}

std::string ServiceTest::Auth(bool withBlog) const {
  const std::string digest = Digest("abcdefghijklmnopqrstuvwxyz01234" "2026-03-04T05:06:07Z" "secret");
  return "<AU><UN>me@example.com</UN><DI>" + digest +
         "</DI><CR>2026-03-04T05:06:07Z</CR><NO>abcdefghijklmnopqrstuvwxyz01234</NO></AU>" +
         (withBlog ? "<BI>myblog</BI>" : "");
}

int ServiceTest::StageReports(uint32_t stage) const {
  int n = 0;
  for (const auto& r : reports_) n += r.stage == stage ? 1 : 0;
  return n;
}

int ServiceTest::Callback(void* context, const net::ProgressRecord* record) {
  if (record != nullptr) {
    net::ProgressRecord copy = *record;
    copy.text = nullptr;
    copy.response = nullptr;
    static_cast<ServiceTest*>(context)->reports_.push_back(copy);
  }
  return 1;
}

}  // namespace servicetest
