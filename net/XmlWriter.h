#pragma once

#include <cstdint>
#include <string_view>

#include "net/Stream.h"

namespace net {

// Writes request text into a stream. Each routine answers false as soon as a
// stream write fails (callers treat that as out of memory).
class XmlWriter {
 public:
  // The bytes as they are: markup, tags and numbers.
  static bool WriteText(Stream& stream, std::string_view text);
  // Text content or attribute value: TAB, LF, CR, '"', '&', '\'', '<' and '>' become
  // character or entity references; every other byte is written unchanged.
  static bool WriteEscaped(Stream& stream, std::string_view text);
  // Unsigned decimal without leading zeros.
  static bool WriteNumber(Stream& stream, uint32_t value);
  // Copies `source` from its position to its end, block by block.
  static bool WriteStream(Stream& stream, Stream& source);
};

}  // namespace net
