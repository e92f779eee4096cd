#include "net/XmlReader.h"

#include <array>
#include <limits>
#include <vector>

namespace net {

namespace {

bool IsBlank(uint8_t c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

// Consumes blanks (and commas when asked) up to the next other byte; false at the end.
bool SkipSeparators(Stream& stream, bool commas) {
  uint8_t c = 0;
  while (stream.PeekByte(c)) {
    if (!IsBlank(c) && !(commas && c == ',')) {
      return true;
    }
    stream.ReadByte(c);
  }
  return false;
}

// Progress of one pattern through the bytes read: a matching byte advances it, any
// other byte sends it back to the start without being tested again.
class Matcher {
 public:
  explicit Matcher(std::string_view pattern) : pattern_(pattern) {}
  bool Feed(uint8_t c) {
    if (static_cast<uint8_t>(pattern_[matched_]) == c) {
      ++matched_;
    } else {
      matched_ = 0;
    }
    return matched_ == pattern_.size();
  }

 private:
  std::string_view pattern_;
  size_t matched_ = 0;
};

bool ReadSeparated(Stream& stream, std::string& out, uint32_t size, bool lineMode, bool commas) {
  out.clear();
  SkipSeparators(stream, commas);
  const size_t keep = size > 0 ? size - 1 : 0;
  uint8_t c = 0;
  while (stream.ReadByte(c)) {
    const bool ends = lineMode ? (c == '\r' || c == '\n') : (IsBlank(c) || (commas && c == ','));
    if (ends) {
      break;
    }
    if (out.size() < keep) {
      out.push_back(static_cast<char>(c));
    }
  }
  return !out.empty();
}

}  // namespace

bool XmlReader::FindText(Stream& stream, std::string_view pattern) {
  if (pattern.empty()) {
    return true;
  }
  Matcher matcher(pattern);
  uint8_t c = 0;
  while (stream.ReadByte(c)) {
    if (matcher.Feed(c)) {
      return true;
    }
  }
  return false;
}

bool XmlReader::FindOpenTag(Stream& stream, std::string_view name, std::string_view closingName) {
  if (closingName.empty()) {
    closingName = name;
  }
  if (name.empty() || name.size() + 1 > kMaxTagText || closingName.size() + 2 > kMaxTagText) {
    return false;
  }
  std::string opening("<");
  opening.append(name);
  std::string closing("</");
  closing.append(closingName);
  Matcher openMatch(opening);
  Matcher closeMatch(closing);
  uint8_t c = 0;
  for (;;) {
    if (!stream.ReadByte(c)) {
      return false;
    }
    const bool opened = openMatch.Feed(c);
    if (closeMatch.Feed(c)) {
      return false;
    }
    if (opened) {
      break;
    }
  }
  if (!SkipSeparators(stream, false)) {
    return false;
  }
  stream.PeekByte(c);
  return c != '/';
}

bool XmlReader::ReadElementText(Stream& stream, std::string& text, uint32_t size, char start, char end) {
  text.clear();
  uint8_t c = 0;
  if (start != '\0') {
    SkipSeparators(stream, false);
    uint8_t previous = 0;
    for (;;) {
      if (!stream.ReadByte(c)) {
        return false;
      }
      if (c == static_cast<uint8_t>(start)) {
        break;
      }
      previous = c;
    }
    if (previous == '/') {
      return true;
    }
  }
  const size_t keep = size > 0 ? size - 1 : 0;
  bool ended = false;
  while (stream.ReadByte(c)) {
    if (c == static_cast<uint8_t>(end)) {
      ended = true;
      break;
    }
    if (text.size() < keep) {
      text.push_back(static_cast<char>(c));
    }
  }
  DecodeEntities(text);
  std::vector<char> converted(text.size() + 1);
  const uint32_t n = stream.ConvertText(text, converted.data(), static_cast<uint32_t>(converted.size()),
                                        Stream::kIncoming);
  text.assign(converted.data(), n);
  return ended;
}

void XmlReader::DecodeEntities(std::string& text) {
  static constexpr std::array<std::pair<std::string_view, char>, 8> kEntities{{
      {"&amp;", '&'},
      {"&apos;", '\''},
      {"&lt;", '<'},
      {"&gt;", '>'},
      {"&quot;", '"'},
      {"&#x9;", '\t'},
      {"&#xA;", '\n'},
      {"&#xD;", '\r'},
  }};
  size_t out = 0;
  size_t in = 0;
  while (in < text.size()) {
    char c = text[in];
    size_t used = 1;
    if (c == '&') {
      const std::string_view rest(text.data() + in, text.size() - in);
      for (const auto& [entity, ch] : kEntities) {
        if (rest.starts_with(entity)) {
          c = ch;
          used = entity.size();
          break;
        }
      }
    }
    text[out++] = c;
    in += used;
  }
  text.resize(out);
}

uint32_t XmlReader::ReadNumber(Stream& stream) {
  constexpr uint32_t kMax = std::numeric_limits<uint32_t>::max();
  uint32_t value = 0;
  uint8_t c = 0;
  while (stream.ReadByte(c) && c >= '0' && c <= '9') {
    const uint32_t digit = c - '0';
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return value;
}

bool XmlReader::ReadToken(Stream& stream, std::string& token, uint32_t size, bool lineMode) {
  return ReadSeparated(stream, token, size, lineMode, false);
}

bool XmlReader::ReadListItem(Stream& stream, std::string& item, uint32_t size) {
  return ReadSeparated(stream, item, size, false, true);
}

}  // namespace net
