#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "model/CWinBlogChannel.h"

namespace model {

// The list of recommended blogs, made from the service's channels text.
class CWinBlogChannels {
 public:
  // Most bytes of channels text read.
  static constexpr size_t kMaxText = 30720;

  // Replaces the list by the lines of `text`: lines end at CR or LF, empty lines
  // are skipped, a NUL byte or kMaxText bytes end the text, and a last line
  // without an end is left out.
  void Parse(std::string_view text);
  // Puts the lines in the order the recommended-blogs list shows them:
  // alphabetical without regard to letter case.
  void SortByLine();
  size_t Count() const { return channels_.size(); }
  const CWinBlogChannel& At(size_t index) const { return channels_.at(index); }

 private:
  std::vector<CWinBlogChannel> channels_;
};

}  // namespace model
