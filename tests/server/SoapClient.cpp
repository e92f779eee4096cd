#include "tests/server/SoapClient.h"

#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/sha.h>

#include <ctime>
#include <random>

#include "server/JpegCodec.h"
#include "server/SyntheticPhoto.h"

namespace servertest {

SoapClient::SoapClient(int port, std::string user, std::string password)
    : port_(port), user_(std::move(user)), password_(std::move(password)), created_(std::time(nullptr)) {}

void SoapClient::SetCredentials(std::string user, std::string password) {
  user_ = std::move(user);
  password_ = std::move(password);
}

std::string SoapClient::Base64(const std::string& bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                          reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string SoapClient::Digest(const std::string& nonce, const std::string& created, const std::string& secret) {
  std::string text = nonce + created + secret;
  unsigned char digest[SHA_DIGEST_LENGTH];
  SHA1(reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest);
  return Base64(std::string(reinterpret_cast<char*>(digest), sizeof digest));
}

std::string SoapClient::FormatUtc(int64_t unixSeconds) {
  std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return buffer;
}

std::string SoapClient::NewNonce() const {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 random(std::random_device{}());
  std::string nonce;
  for (int i = 0; i < 31; ++i) nonce += kChars[random() % 62];
  return nonce;
}

std::string SoapClient::AuthBlock(const std::string& nonce) const {
  if (user_.empty() || password_.empty()) return "<AU />";
  std::string created = FormatUtc(created_);
  return "<AU><UN>" + user_ + "</UN><DI>" + Digest(nonce, created, password_) + "</DI><CR>" + created +
         "</CR><NO>" + nonce + "</NO></AU>";
}

std::string SoapClient::ViewPassword(const std::string& password) const {
  std::string nonce = NewNonce();
  std::string created = FormatUtc(created_);
  return "<VP><DI>" + Digest(nonce, created, password) + "</DI><CR>" + created + "</CR><NO>" + nonce + "</NO></VP>";
}

std::string SoapClient::Envelope(const std::string& op, const std::string& inner) const {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
         "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><" +
         op + " xmlns=\"http://tessary.example/ws\"><RQ><" + op + "><RQ><V>3</V>" + inner + "</RQ></" + op +
         "></RQ></" + op + "></soap:Body></soap:Envelope>\r\n";
}

std::string SoapClient::Call(const std::string& op, const std::string& blog, const std::string& elements) {
  return CallWithNonce(op, NewNonce(), blog, elements);
}

std::string SoapClient::CallWithNonce(const std::string& op, const std::string& nonce, const std::string& blog,
                                      const std::string& elements) {
  std::string inner = op == "CreateAccount" ? std::string() : AuthBlock(nonce);
  if (!blog.empty()) inner += "<BI>" + blog + "</BI>";
  return Post("\"http://tessary.example/ws/" + op + "\"", Envelope(op, inner + elements));
}

std::string SoapClient::Post(const std::string& soapAction, const std::string& body, int* status) {
  httplib::Client client("127.0.0.1", port_);
  client.set_read_timeout(30, 0);
  httplib::Headers headers = {{"SOAPAction", soapAction}};
  auto result = client.Post("/ws/", headers, body, "text/xml; charset=utf-8");
  if (status != nullptr) *status = result ? result->status : -1;
  return result ? result->body : std::string("<transport failure>");
}

std::string ElementText(const std::string& xml, const std::string& name, size_t from) {
  std::string open = "<" + name + ">";
  size_t start = xml.find(open, from);
  if (start == std::string::npos) return {};
  start += open.size();
  size_t end = xml.find("</" + name + ">", start);
  return end == std::string::npos ? std::string() : xml.substr(start, end - start);
}

std::vector<std::string> AllTexts(const std::string& xml, const std::string& name) {
  std::vector<std::string> texts;
  std::string open = "<" + name + ">";
  for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
    texts.push_back(ElementText(xml, name, at));
  }
  return texts;
}

std::string Message(const std::string& xml) { return ElementText(xml, "MS"); }

std::string MakeJpeg(int width, int height, int seed) {
  std::string jpeg;
  server::JpegCodec::Encode(server::SyntheticPhoto::Landscape(width, height, static_cast<uint32_t>(seed)), 80, jpeg);
  return jpeg;
}

}  // namespace servertest
