#include "service/SoapEnvelope.h"

#include <string>

#include "net/Base64.h"
#include "net/Digest.h"
#include "net/XmlWriter.h"

namespace service {

using net::XmlWriter;

bool SoapEnvelope::Begin(net::Stream& stream, std::string_view operation, std::string_view host) {
  return XmlWriter::WriteText(stream,
                              "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                              "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><") &&
         XmlWriter::WriteText(stream, operation) && XmlWriter::WriteText(stream, " xmlns=\"http://") &&
         XmlWriter::WriteText(stream, host) && XmlWriter::WriteText(stream, "/ws\"><RQ><") &&
         XmlWriter::WriteText(stream, operation) && XmlWriter::WriteText(stream, "><RQ><V>") &&
         XmlWriter::WriteText(stream, kProtocolVersion) && XmlWriter::WriteText(stream, "</V>");
}

bool SoapEnvelope::End(net::Stream& stream, std::string_view operation) {
  return XmlWriter::WriteText(stream, "</RQ></") && XmlWriter::WriteText(stream, operation) &&
         XmlWriter::WriteText(stream, "></RQ></") && XmlWriter::WriteText(stream, operation) &&
         XmlWriter::WriteText(stream, "></soap:Body></soap:Envelope>\r\n");
}

bool SoapEnvelope::WriteDigest(net::Stream& stream, net::Http& http, std::string_view secret) {
  const std::string token = http.MakeRandomToken();
  const std::string created = http.FormatTimestamp(http.Now(), true);
  const std::string material = token + created + std::string(secret);
  const auto digest = net::Digest::Sha1(material.data(), material.size());
  return XmlWriter::WriteText(stream, "<DI>") &&
         XmlWriter::WriteText(stream, net::Base64::Encode(digest.data(), digest.size())) &&
         XmlWriter::WriteText(stream, "</DI><CR>") && XmlWriter::WriteEscaped(stream, created) &&
         XmlWriter::WriteText(stream, "</CR><NO>") && XmlWriter::WriteEscaped(stream, token) &&
         XmlWriter::WriteText(stream, "</NO>");
}

bool SoapEnvelope::WriteAuthentication(net::Stream& stream, net::Http& http, std::string_view userName,
                                       std::string_view password, const std::string_view* blogName) {
  bool ok = true;
  if (userName.empty() || password.empty()) {
    ok = XmlWriter::WriteText(stream, "<AU />");
  } else {
    ok = XmlWriter::WriteText(stream, "<AU><UN>") && XmlWriter::WriteEscaped(stream, userName) &&
         XmlWriter::WriteText(stream, "</UN>") && WriteDigest(stream, http, password) &&
         XmlWriter::WriteText(stream, "</AU>");
  }
  if (ok && blogName != nullptr) {
    ok = XmlWriter::WriteText(stream, "<BI>") && XmlWriter::WriteEscaped(stream, *blogName) &&
         XmlWriter::WriteText(stream, "</BI>");
  }
  return ok;
}

bool SoapEnvelope::WriteViewPassword(net::Stream& stream, net::Http& http, std::string_view viewPassword) {
  if (viewPassword.empty()) return XmlWriter::WriteText(stream, "<VP />");
  return XmlWriter::WriteText(stream, "<VP>") && WriteDigest(stream, http, viewPassword) &&
         XmlWriter::WriteText(stream, "</VP>");
}

}  // namespace service
