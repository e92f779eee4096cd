#include "server/HtmlText.h"

namespace server {

namespace {

bool IsDropped(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F; }

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::string HtmlText::Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default:
        if (!IsDropped(static_cast<unsigned char>(c))) out += c;
    }
  }
  return out;
}

std::string HtmlText::WithLineBreaks(std::string_view text) {
  std::string out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    out += Escape(text.substr(start, i - start));
    out += "<br>\n";
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return out + Escape(text.substr(start));
}

std::string HtmlText::Excerpt(std::string_view text, size_t maxBytes) {
  std::string line;
  for (char c : text) {
    if (IsBlank(static_cast<unsigned char>(c))) {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else if (!IsDropped(static_cast<unsigned char>(c))) {
      line += c;
    }
  }
  if (!line.empty() && line.back() == ' ') line.pop_back();
  if (line.size() <= maxBytes) return line;

  static constexpr std::string_view kMark = "\xE2\x80\xA6";  // an ellipsis
  size_t cut = maxBytes > kMark.size() ? maxBytes - kMark.size() : 0;
  while (cut > 0 && IsContinuation(static_cast<unsigned char>(line[cut]))) --cut;
  size_t blank = line.rfind(' ', cut);
  // A cut inside a long word keeps the word's start rather than dropping it.
  if (blank != std::string::npos && blank > cut / 2) cut = blank;
  line.resize(cut);
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line + std::string(kMark);
}

}  // namespace server
