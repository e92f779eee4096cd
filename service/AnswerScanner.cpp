#include "service/AnswerScanner.h"

#include "net/XmlReader.h"

namespace service {

namespace {

constexpr size_t kMaxStartTag = 512;

bool EndsTagName(uint8_t ch) {
  return ch == '>' || ch == '/' || ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

}  // namespace

void AnswerScanner::TrimCutSequence(std::string& text) {
  size_t lead = text.size();
  size_t continuation = 0;
  while (lead > 0 && (static_cast<uint8_t>(text[lead - 1]) & 0xC0) == 0x80 && continuation < 3) {
    --lead;
    ++continuation;
  }
  if (lead == 0) return;
  const uint8_t first = static_cast<uint8_t>(text[lead - 1]);
  size_t needed = 0;
  if ((first & 0xE0) == 0xC0) {
    needed = 1;
  } else if ((first & 0xF0) == 0xE0) {
    needed = 2;
  } else if ((first & 0xF8) == 0xF0) {
    needed = 3;
  } else {
    return;
  }
  if (continuation < needed) text.resize(lead - 1);
}

bool AnswerScanner::ReadText(net::Stream& stream, std::string_view tag, uint32_t limit,
                             std::string& text) {
  text.clear();
  const uint32_t start = stream.GetPosition();
  std::string opening("<");
  opening.append(tag);
  while (net::XmlReader::FindText(stream, opening)) {
    uint8_t next = 0;
    if (!stream.PeekByte(next)) break;
    if (!EndsTagName(next)) continue;
    net::XmlReader::ReadElementText(stream, text, limit + 1);
    if (text.size() >= limit) TrimCutSequence(text);
    return true;
  }
  stream.Seek(start);
  return false;
}

uint32_t AnswerScanner::ParseNumber(std::string_view text) {
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > 0xFFFFFFFFu) return 0xFFFFFFFFu;
  }
  return static_cast<uint32_t>(value);
}

bool AnswerScanner::ReadNumber(net::Stream& stream, std::string_view tag, uint32_t& value) {
  std::string text;
  if (!ReadText(stream, tag, 31, text)) return false;
  value = ParseNumber(text);
  return true;
}

bool AnswerScanner::ReadChild(net::Stream& stream, std::string_view child, std::string& startTag,
                              std::string& content) {
  startTag.clear();
  content.clear();
  uint8_t ch = 0;
  uint8_t previous = 0;
  bool closed = false;
  while (stream.ReadByte(ch)) {
    if (ch == '>') {
      closed = true;
      break;
    }
    if (startTag.size() < kMaxStartTag) startTag.push_back(static_cast<char>(ch));
    previous = ch;
  }
  if (!closed) return false;
  if (previous == '/') return true;  // <child .../> has no content

  std::string ending("</");
  ending.append(child);
  size_t matched = 0;
  std::string pending;  // bytes that may be the start of the end tag
  while (stream.ReadByte(ch)) {
    if (static_cast<char>(ch) == ending[matched]) {
      pending.push_back(static_cast<char>(ch));
      if (++matched == ending.size()) {
        while (stream.ReadByte(ch) && ch != '>') {
        }
        return true;
      }
      continue;
    }
    if (content.size() < kMaxChildBytes) content.append(pending, 0, kMaxChildBytes - content.size());
    pending.clear();
    matched = 0;
    if (static_cast<char>(ch) == ending[0]) {
      pending.push_back(static_cast<char>(ch));
      matched = 1;
    } else if (content.size() < kMaxChildBytes) {
      content.push_back(static_cast<char>(ch));
    }
  }
  return true;
}

bool AnswerScanner::Attribute(std::string_view startTag, std::string_view name, std::string& value) {
  size_t at = 0;
  while ((at = startTag.find(name, at)) != std::string_view::npos) {
    const bool separate = at == 0 || startTag[at - 1] == ' ' || startTag[at - 1] == '\t' ||
                          startTag[at - 1] == '\r' || startTag[at - 1] == '\n';
    size_t pos = at + name.size();
    while (pos < startTag.size() && (startTag[pos] == ' ' || startTag[pos] == '\t')) ++pos;
    if (separate && pos < startTag.size() && startTag[pos] == '=') {
      const size_t open = startTag.find('"', pos);
      if (open == std::string_view::npos) return false;
      const size_t close = startTag.find('"', open + 1);
      if (close == std::string_view::npos) return false;
      value = std::string(startTag.substr(open + 1, close - open - 1));
      net::XmlReader::DecodeEntities(value);
      return true;
    }
    at += name.size();
  }
  return false;
}

}  // namespace service
