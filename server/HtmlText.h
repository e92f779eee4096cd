#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace server {

// User texts made safe for HTML pages.
class HtmlText {
 public:
  // For element text and quoted attribute values: & < > " ' become references and
  // control characters other than TAB, LF and CR are dropped.
  static std::string Escape(std::string_view text);
  // Escaped, each line break (CR LF, CR or LF) written as "<br>".
  static std::string WithLineBreaks(std::string_view text);
  // The text on one line with its blanks collapsed, cut after a whole word (or a
  // whole UTF-8 character) to at most maxBytes, an ellipsis marking the cut. Not escaped.
  static std::string Excerpt(std::string_view text, size_t maxBytes);
};

}  // namespace server
