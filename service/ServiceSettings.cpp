#include "service/ServiceSettings.h"

#include <arpa/inet.h>

#include <cstdlib>

namespace service {

namespace {

bool IsHostName(std::string_view host) {
  if (host.empty() || host.size() > 253) return false;
  for (char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '.';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool ServiceSettings::Parse(std::string_view text) {
  std::string_view host = text;
  uint32_t port = 80;
  const size_t colon = text.rfind(':');
  if (colon != std::string_view::npos) {
    host = text.substr(0, colon);
    const std::string_view digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) return false;
    port = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      port = port * 10 + static_cast<uint32_t>(c - '0');
    }
    if (port == 0 || port > 65535) return false;
  }
  if (!IsHostName(host)) return false;
  this->host = host;
  this->port = static_cast<uint16_t>(port);
  in_addr parsed{};
  numericAddress = ::inet_pton(AF_INET, this->host.c_str(), &parsed) == 1 ? this->host : std::string();
  return true;
}

bool ServiceSettings::ApplyEnvironment() {
  const char* value = std::getenv("TESSARY_SERVICE");
  if (value == nullptr || *value == '\0') return true;
  return Parse(value);
}

std::string ServiceSettings::Authority() const {
  return port == 80 ? host : host + ":" + std::to_string(port);
}

ServiceSettings& ServiceSettings::Current() {
  static ServiceSettings settings;
  return settings;
}

}  // namespace service
