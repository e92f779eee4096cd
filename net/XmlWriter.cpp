#include "net/XmlWriter.h"

#include <charconv>
#include <vector>

namespace net {

bool XmlWriter::WriteText(Stream& stream, std::string_view text) {
  return stream.Write(text.data(), static_cast<uint32_t>(text.size()));
}

namespace {

std::string_view EscapeOf(char c) {
  switch (c) {
    case '\t': return "&#x9;";
    case '\n': return "&#xA;";
    case '\r': return "&#xD;";
    case '"': return "&quot;";
    case '&': return "&amp;";
    case '\'': return "&apos;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    default: return {};
  }
}

}  // namespace

bool XmlWriter::WriteEscaped(Stream& stream, std::string_view text) {
  std::vector<char> converted((text.size() + 10) * 2);
  const uint32_t n = stream.ConvertText(text, converted.data(), static_cast<uint32_t>(converted.size()),
                                        Stream::kOutgoing);
  // Runs of plain bytes go out in one write rather than byte by byte.
  uint32_t runStart = 0;
  for (uint32_t i = 0; i < n; ++i) {
    const std::string_view escape = EscapeOf(converted[i]);
    if (escape.empty()) {
      continue;
    }
    if (i > runStart && !stream.Write(converted.data() + runStart, i - runStart)) {
      return false;
    }
    if (!WriteText(stream, escape)) {
      return false;
    }
    runStart = i + 1;
  }
  return n == runStart || stream.Write(converted.data() + runStart, n - runStart);
}

bool XmlWriter::WriteNumber(Stream& stream, uint32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return stream.Write(digits, static_cast<uint32_t>(result.ptr - digits));
}

bool XmlWriter::WriteStream(Stream& stream, Stream& source) {
  const uint8_t* block = nullptr;
  uint32_t length = 0;
  while (source.ReadBlock(block, length)) {
    if (!stream.Write(block, length)) {
      return false;
    }
  }
  return true;
}

}  // namespace net
