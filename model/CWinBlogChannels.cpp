#include "model/CWinBlogChannels.h"

#include <algorithm>

#include "platform/TextConversion.h"

namespace model {

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

void CWinBlogChannels::Parse(std::string_view text) {
  channels_.clear();
  if (text.size() > kMaxText) text = text.substr(0, kMaxText);
  size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);

  size_t pos = 0;
  while (pos < text.size() && IsLineEnd(text[pos])) ++pos;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    if (end == text.size()) break;  // a last line without its end is not taken
    CWinBlogChannel channel;
    channel.line = platform::Utf8ToUtf16(text.substr(pos, end - pos));
    size_t first = channel.line.find_first_not_of(u" \t");
    std::u16string trimmed = first == std::u16string::npos ? u"" : channel.line.substr(first);
    channel.blogName = trimmed.substr(0, trimmed.find_first_of(u" \t"));
    channels_.push_back(std::move(channel));
    pos = end;
    while (pos < text.size() && IsLineEnd(text[pos])) ++pos;
  }
}

void CWinBlogChannels::SortByLine() {
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
  std::stable_sort(channels_.begin(), channels_.end(), [&](const CWinBlogChannel& a, const CWinBlogChannel& b) {
    return std::lexicographical_compare(a.line.begin(), a.line.end(), b.line.begin(), b.line.end(),
                                        [&](char16_t x, char16_t y) { return lower(x) < lower(y); });
  });
}

}  // namespace model
