#include "server/ViewSessions.h"

#include "server/Crypto.h"

namespace server {

namespace {

constexpr size_t kKeyBytes = 32;

std::string CookieName(const BlogRecord& blog) { return "tessary-view-" + std::to_string(blog.id); }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

ViewSessions::ViewSessions() : key_(Crypto::RandomHex(kKeyBytes)) {}

std::string ViewSessions::Token(const BlogRecord& blog) const {
  return Crypto::HmacSha256Hex(key_, std::to_string(blog.id) + '\n' + blog.viewPassword);
}

std::string ViewSessions::Cookie(const BlogRecord& blog) const {
  // Lax: a link followed from a mail or chat program still carries the cookie.
  return CookieName(blog) + "=" + Token(blog) + "; Path=/; HttpOnly; SameSite=Lax";
}

bool ViewSessions::Admits(const BlogRecord& blog, std::string_view cookieHeader) const {
  // Without a key (the system's generator failed) or a password nothing is admitted.
  if (key_.empty() || blog.viewPassword.empty()) return false;
  const std::string name = CookieName(blog);
  const std::string token = Token(blog);
  bool admitted = false;
  while (!cookieHeader.empty()) {
    size_t end = cookieHeader.find(';');
    std::string_view pair = Trim(cookieHeader.substr(0, end));
    cookieHeader = end == std::string_view::npos ? std::string_view() : cookieHeader.substr(end + 1);
    size_t equals = pair.find('=');
    if (equals == std::string_view::npos || Trim(pair.substr(0, equals)) != name) continue;
    admitted = Crypto::ConstantTimeEquals(Trim(pair.substr(equals + 1)), token) || admitted;
  }
  return admitted;
}

}  // namespace server
