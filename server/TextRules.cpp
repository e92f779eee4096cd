#include "server/TextRules.h"

#include <cstring>

#include "server/ServiceMessages.h"

namespace server {

int TextRules::Check(std::string_view text, size_t limit) {
  if (text.size() > limit) return kTextTooLong;
  for (unsigned char c : text) {
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) return kInvalidRequest;
  }
  return kOk;
}

bool TextRules::IsEmail(std::string_view text) {
  if (text.size() < 5 || text.size() > kEmail) return false;
  size_t at = text.find('@');
  if (at == 0 || at == std::string_view::npos || text.find('@', at + 1) != std::string_view::npos) return false;
  std::string_view domain = text.substr(at + 1);
  size_t dot = domain.find('.');
  if (dot == 0 || dot == std::string_view::npos || domain.back() == '.') return false;
  for (unsigned char c : text) {
    if (c <= 0x20 || c >= 0x7F || std::strchr("<>&\"'(),;:\\[]", c) != nullptr) return false;
  }
  return true;
}

bool TextRules::IsBlogUrl(std::string_view text) {
  if (text.empty() || text.size() > kBlogUrl) return false;
  for (char c : text) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

}  // namespace server
