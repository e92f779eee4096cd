#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace server {

// The authentication block <AU>: user, digest, creation time and nonce.
struct AuthBlock {
  bool present = false;
  std::string user;
  std::string digest;
  std::string created;
  std::string nonce;
};

// The view-password block <VP> of a change-list request.
struct ViewPasswordBlock {
  bool present = false;
  std::string digest;
  std::string created;
  std::string nonce;
};

// One SOAP request: the operation named by the SOAPAction header, checked
// against the envelope (operation, RQ, operation, RQ, with <V> first), and
// access to the elements of the inner RQ.
class SoapRequest {
 public:
  // Answers kOk, kInvalidVersion when <V> is not 3, or kInvalidRequest for
  // anything that is not this envelope.
  int Parse(std::string_view soapAction, std::string_view body);

  // The operation from the SOAPAction header; empty when the header was unusable.
  const std::string& Operation() const { return operation_; }
  const AuthBlock& Auth() const { return auth_; }
  bool HasBlog() const { return hasBlog_; }
  const std::string& Blog() const { return blog_; }
  // The inner RQ element holding the operation's elements.
  pugi::xml_node Payload() const { return payload_; }

  // Text of a child element; empty when missing or empty.
  static std::string Text(pugi::xml_node parent, const char* name);
  // An unsigned 32-bit number in a child element (blanks around it allowed);
  // a missing or empty element gives 0. False when the text is not such a number.
  static bool Number(pugi::xml_node parent, const char* name, int64_t& value);
  // The operation named by a SOAPAction value "http://HOST/ws/OP" (any host,
  // quotes optional); empty when the value has another form.
  static std::string OperationFromAction(std::string_view soapAction);

 private:
  pugi::xml_document doc_;
  std::string operation_;
  AuthBlock auth_;
  bool hasBlog_ = false;
  std::string blog_;
  pugi::xml_node payload_;
};

}  // namespace server
