#pragma once

#include <string_view>

#include "net/Http.h"
#include "net/Stream.h"

namespace service {

// The text every request shares: the envelope around the operation's elements,
// the authentication block with its password digest, and the view-password block.
class SoapEnvelope {
 public:
  static constexpr const char* kProtocolVersion = "3";

  // XML declaration, envelope and body, the operation element twice with its RQ,
  // then <V>3</V>. `host` names the service in the namespace.
  static bool Begin(net::Stream& stream, std::string_view operation, std::string_view host);
  static bool End(net::Stream& stream, std::string_view operation);
  // "<AU />" without user name or password, else user name, the base64 SHA-1 of
  // token + created + password, created (UTC) and the token; then the blog
  // identifier when one is given. Every text is escaped.
  static bool WriteAuthentication(net::Stream& stream, net::Http& http, std::string_view userName,
                                  std::string_view password, const std::string_view* blogName);
  // "<VP />" without a view password, else the same digest of the view password.
  static bool WriteViewPassword(net::Stream& stream, net::Http& http, std::string_view viewPassword);

 private:
  // <DI>digest</DI><CR>created</CR><NO>token</NO> for a secret.
  static bool WriteDigest(net::Stream& stream, net::Http& http, std::string_view secret);
};

}  // namespace service
