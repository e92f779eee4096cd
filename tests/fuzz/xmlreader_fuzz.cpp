// Drives the answer scanner over arbitrary bytes, as a hostile or broken service
// would send them: the first byte picks the walk, the rest is the answer text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/ReadOnlyMemoryStream.h"
#include "net/Win32SmallStream.h"
#include "net/XmlReader.h"
#include "net/XmlWriter.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// Escaping then scanning gives the text back: every entity is decoded exactly once.
void CheckRoundTrip(std::string_view text) {
  auto stream = net::Win32SmallStream::Create();
  Require(stream != nullptr);
  Require(net::XmlWriter::WriteEscaped(*stream, text));
  Require(net::XmlWriter::WriteText(*stream, "<"));
  Require(stream->Seek(0));
  // The cut applies to the escaped bytes, so the room is the escaped size.
  std::string back;
  Require(net::XmlReader::ReadElementText(*stream, back, stream->GetSize(), '\0', '<'));
  Require(back == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  const uint8_t mode = data[0];
  const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
  net::ReadOnlyMemoryStream s(body.data(), static_cast<uint32_t>(body.size()));
  const uint32_t limit = 1 + mode % 64;
  std::string text;
  // Each call consumes at least one byte or reports the end, so the loops are bounded.
  switch (mode % 4) {
    case 0:
      while (net::XmlReader::FindOpenTag(s, "PI", "PS")) {
        if (net::XmlReader::FindOpenTag(s, "TI")) {
          const uint32_t before = s.GetPosition();
          net::XmlReader::ReadElementText(s, text, limit);
          Require(text.size() < limit);
          Require(s.GetPosition() > before || s.GetPosition() == s.GetSize());
        }
        if (net::XmlReader::FindText(s, "<ID>")) {
          net::XmlReader::ReadNumber(s);
        }
      }
      break;
    case 1:
      while (net::XmlReader::FindText(s, "=")) {
        net::XmlReader::ReadElementText(s, text, limit, '"', '"');
        Require(text.size() < limit);
      }
      break;
    case 2:
      while (net::XmlReader::ReadListItem(s, text, limit)) {
        Require(!text.empty() && text.size() < limit);
        Require(text.find_first_of(" \t\r\n,") == std::string::npos);
      }
      break;
    default:
      CheckRoundTrip(body);
      break;
  }
  Require(s.GetPosition() <= s.GetSize());
  return 0;
}
