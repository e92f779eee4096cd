#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/Stream.h"

namespace service {

// Reading the elements an operation expects from an answer, forward only. A
// missing element leaves the position where it was, so the next one is searched
// from the same place. Every text is cut to its limit, never beyond.
class AnswerScanner {
 public:
  // Largest child element kept in memory while it is applied; beyond it the
  // content is cut (every field of a child has a far smaller limit).
  static constexpr size_t kMaxChildBytes = 65536;

  // Finds the element `tag` and reads its text, entities decoded, keeping at most
  // `limit` bytes (a cut UTF-8 sequence at the end is dropped).
  static bool ReadText(net::Stream& stream, std::string_view tag, uint32_t limit, std::string& text);
  // The element's leading decimal digits (0 without digits; large values stop at
  // 0xFFFFFFFF).
  static bool ReadNumber(net::Stream& stream, std::string_view tag, uint32_t& value);
  // After FindOpenTag found `child`: the rest of its start tag and its content up
  // to "</child>", both bounded; the stream is left behind the end tag.
  static bool ReadChild(net::Stream& stream, std::string_view child, std::string& startTag,
                        std::string& content);
  // The value of attribute `name` (between double quotes) in a start tag.
  static bool Attribute(std::string_view startTag, std::string_view name, std::string& value);
  static uint32_t ParseNumber(std::string_view text);
  // Drops an incomplete UTF-8 sequence at the end of a cut text.
  static void TrimCutSequence(std::string& text);
};

}  // namespace service
