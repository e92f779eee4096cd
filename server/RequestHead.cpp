#include "server/RequestHead.h"

#include <strings.h>

namespace server {

namespace {

bool IsTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsTokenChar(c)) return false;
  }
  return true;
}

bool Equals(std::string_view a, const char* b) {
  return a.size() == std::char_traits<char>::length(b) && strncasecmp(a.data(), b, a.size()) == 0;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Next line without its LF (and CR); false at the end of text.
bool NextLine(std::string_view& text, std::string_view& line) {
  if (text.empty()) return false;
  size_t lf = text.find('\n');
  line = text.substr(0, lf);
  text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

bool ParseLength(std::string_view text, uint64_t& value) {
  if (text.empty() || text.size() > 18) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return true;
}

int ParseRequestLine(std::string_view line, RequestHead& head) {
  size_t first = line.find(' ');
  size_t last = line.rfind(' ');
  if (first == std::string_view::npos || first == last) return 400;
  std::string_view method = line.substr(0, first);
  std::string_view target = line.substr(first + 1, last - first - 1);
  std::string_view version = line.substr(last + 1);
  if (!IsToken(method) || target.empty()) return 400;
  if (target.size() > RequestHead::kMaxTarget) return 414;
  for (char c : target) {
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) return 400;
  }
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return version.substr(0, 5) == "HTTP/" ? 505 : 400;
  head.method = method;
  head.target = target;
  head.version = version;
  return 0;
}

}  // namespace

bool RequestHead::FindEnd(std::string_view text, size_t& headLength, size_t& totalLength) {
  for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', lf + 1)) {
    size_t next = lf + 1;
    if (next < text.size() && text[next] == '\r') ++next;
    if (next < text.size() && text[next] == '\n') {
      headLength = lf + 1;
      totalLength = next + 1;
      return true;
    }
  }
  return false;
}

int RequestHead::Parse(std::string_view text, RequestHead& head) {
  head = RequestHead{};
  std::string_view line;
  // A few blank lines before a request are tolerated.
  do {
    if (!NextLine(text, line)) return 400;
  } while (line.empty());
  if (int status = ParseRequestLine(line, head); status != 0) return status;

  bool hasLength = false;
  bool hasCoding = false;
  while (NextLine(text, line) && !line.empty()) {
    size_t colon = line.find(':');
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) return 400;
    std::string_view name = line.substr(0, colon);
    std::string_view value = Trimmed(line.substr(colon + 1));
    for (char c : value) {
      if ((static_cast<unsigned char>(c) < ' ' && c != '\t') || c == 0x7F) return 400;
    }
    if (Equals(name, "Content-Length")) {
      uint64_t length = 0;
      if (!ParseLength(value, length) || (hasLength && length != head.contentLength)) return 400;
      hasLength = true;
      head.contentLength = length;
    } else if (Equals(name, "Transfer-Encoding")) {
      if (hasCoding) return 400;
      if (!Equals(value, "chunked")) return 501;
      hasCoding = true;
    } else if (Equals(name, "Expect")) {
      head.expectContinue = Equals(value, "100-continue");
    }
    head.headers.emplace_back(name, value);
  }
  // Both framings at once is how requests are smuggled past a proxy.
  if (hasLength && hasCoding) return 400;
  if (hasCoding) {
    head.framing = Framing::kChunked;
  } else if (hasLength && head.contentLength > 0) {
    head.framing = Framing::kLength;
  }
  return 0;
}

std::string RequestHead::Forwarded() const {
  std::string text = method + " " + target + " " + version + "\r\n";
  for (const auto& [name, value] : headers) {
    if (Equals(name, "Content-Length") || Equals(name, "Transfer-Encoding") || Equals(name, "Expect")) continue;
    text += name + ": " + value + "\r\n";
  }
  return text + "\r\n";
}

}  // namespace server
