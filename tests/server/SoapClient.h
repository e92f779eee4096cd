#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace servertest {

// Writes requests the way the phone client does (envelope, SOAPAction, digest
// over nonce + created + password) and posts them to a service on loopback.
class SoapClient {
 public:
  SoapClient(int port, std::string user, std::string password);

  void SetCredentials(std::string user, std::string password);
  // Creation time used in the next requests (Unix seconds); the harness clock by default.
  void SetCreated(int64_t unixSeconds) { created_ = unixSeconds; }

  // An operation with authentication (unless the user is empty), the blog
  // identifier when blog is not empty, then the elements given.
  std::string Call(const std::string& op, const std::string& blog = "", const std::string& elements = "");
  // The same with a fixed nonce (for replay tests).
  std::string CallWithNonce(const std::string& op, const std::string& nonce, const std::string& blog = "",
                            const std::string& elements = "");
  std::string Post(const std::string& soapAction, const std::string& body, int* status = nullptr);

  std::string Envelope(const std::string& op, const std::string& inner) const;
  std::string AuthBlock(const std::string& nonce) const;
  // <VP> for a view password.
  std::string ViewPassword(const std::string& password) const;

  static std::string Digest(const std::string& nonce, const std::string& created, const std::string& secret);
  static std::string Base64(const std::string& bytes);
  static std::string FormatUtc(int64_t unixSeconds);

 private:
  std::string NewNonce() const;

  int port_;
  std::string user_;
  std::string password_;
  int64_t created_ = 0;
};

// Answer helpers: the text of the first element named name (after position
// from), "" when missing; every text of elements so named; the server message.
std::string ElementText(const std::string& xml, const std::string& name, size_t from = 0);
std::vector<std::string> AllTexts(const std::string& xml, const std::string& name);
std::string Message(const std::string& xml);
// A real JPEG of the size given.
std::string MakeJpeg(int width, int height, int seed = 1);

}  // namespace servertest
