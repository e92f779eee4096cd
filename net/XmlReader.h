#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/Stream.h"

namespace net {

// Forward-only scanning of answer text. Every routine consumes what it reads, so the
// order of calls is the order of elements in the answer. Nothing reads past the end
// of the stream; at the end a routine answers false or an empty text.
class XmlReader {
 public:
  // Longest opening or closing text FindOpenTag builds ("<name" / "</name").
  static constexpr uint32_t kMaxTagText = 31;

  // Reads until the bytes read end with `pattern`; the position is then just behind it.
  // A byte that breaks a partial match restarts the match without being tested again.
  static bool FindText(Stream& stream, std::string_view pattern);
  // Reads until "<name" or "</closingName" (closingName defaults to name). True only for
  // the opening text followed, after blanks, by a byte that is not '/' (an empty element
  // counts as absent). The closing text, or a name too long, answers false.
  static bool FindOpenTag(Stream& stream, std::string_view name, std::string_view closingName = {});
  // When `start` is non-zero: skips blanks and reads to `start`; a '/' just before it
  // gives the empty text. Then reads up to (not including) `end`, keeping at most
  // size - 1 bytes, and decodes entities. Answers false when the stream ended first
  // (`text` then holds what was read).
  static bool ReadElementText(Stream& stream, std::string& text, uint32_t size, char start = '>',
                              char end = '<');
  // Decimal digits at the position; the first non-digit is consumed. No digit gives 0;
  // values beyond 32 bits stay at 0xFFFFFFFF.
  static uint32_t ReadNumber(Stream& stream);
  // Skips blanks, then reads to the next blank (in line mode: to CR or LF), keeping at
  // most size - 1 bytes. True when at least one byte was stored.
  static bool ReadToken(Stream& stream, std::string& token, uint32_t size, bool lineMode = false);
  // Like ReadToken, with ',' a separator too.
  static bool ReadListItem(Stream& stream, std::string& item, uint32_t size);
  // Replaces each of the eight entities this system writes by its character, in one
  // pass, so that every entity of the input is decoded exactly once.
  static void DecodeEntities(std::string& text);
};

}  // namespace net
