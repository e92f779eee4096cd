#include "server/SoapRequest.h"

#include <cstring>

#include "server/ServiceMessages.h"

namespace server {

namespace {

std::string_view LocalName(const pugi::xml_node& node) {
  std::string_view name = node.name();
  size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node FirstElement(const pugi::xml_node& parent) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) return child;
  }
  return {};
}

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool IsOperationName(std::string_view name) {
  if (name.empty() || name.size() > 32) return false;
  for (char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  }
  return true;
}

}  // namespace

std::string SoapRequest::OperationFromAction(std::string_view soapAction) {
  std::string_view action = Trim(soapAction);
  if (action.size() >= 2 && action.front() == '"' && action.back() == '"') {
    action = action.substr(1, action.size() - 2);
  }
  for (std::string_view scheme : {"http://", "https://"}) {
    if (action.substr(0, scheme.size()) != scheme) continue;
    std::string_view rest = action.substr(scheme.size());
    size_t slash = rest.find('/');
    if (slash == 0 || slash == std::string_view::npos) return {};
    std::string_view path = rest.substr(slash);
    if (path.substr(0, 4) != "/ws/") return {};
    std::string_view op = path.substr(4);
    return IsOperationName(op) ? std::string(op) : std::string();
  }
  return {};
}

int SoapRequest::Parse(std::string_view soapAction, std::string_view body) {
  operation_ = OperationFromAction(soapAction);
  if (operation_.empty()) return kInvalidRequest;
  pugi::xml_parse_result parsed = doc_.load_buffer(body.data(), body.size(), pugi::parse_default, pugi::encoding_auto);
  if (!parsed) return kInvalidRequest;

  pugi::xml_node envelope = doc_.document_element();
  if (LocalName(envelope) != "Envelope") return kInvalidRequest;
  pugi::xml_node soapBody;
  for (pugi::xml_node child = FirstElement(envelope); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element && LocalName(child) == "Body") {
      soapBody = child;
      break;
    }
  }
  pugi::xml_node outer = FirstElement(soapBody);
  if (!outer || outer.name() != operation_) return kInvalidRequest;
  pugi::xml_node rq = outer.child("RQ");
  pugi::xml_node inner = rq.child(operation_.c_str());
  payload_ = inner.child("RQ");
  if (!payload_) return kInvalidRequest;

  pugi::xml_node version = FirstElement(payload_);
  if (!version || std::strcmp(version.name(), "V") != 0 || Trim(version.text().get()) != "3") return kInvalidVersion;

  pugi::xml_node au = payload_.child("AU");
  if (au) {
    auth_.user = Text(au, "UN");
    auth_.digest = Text(au, "DI");
    auth_.created = Text(au, "CR");
    auth_.nonce = Text(au, "NO");
    auth_.present = !auth_.user.empty();
  }
  pugi::xml_node bi = payload_.child("BI");
  hasBlog_ = static_cast<bool>(bi);
  blog_ = bi.text().get();
  return kOk;
}

std::string SoapRequest::Text(pugi::xml_node parent, const char* name) {
  pugi::xml_node node = parent.child(name);
  std::string text;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
  }
  return text;
}

bool SoapRequest::Number(pugi::xml_node parent, const char* name, int64_t& value) {
  value = 0;
  std::string text = Text(parent, name);
  std::string_view digits = Trim(text);
  if (digits.empty()) return true;
  if (digits.size() > 10) return false;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= 0xFFFFFFFFLL;
}

}  // namespace server
