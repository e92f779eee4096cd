#pragma once

#include <string>

namespace model {

// One recommended blog: the whole line shown to the user and its first word.
struct CWinBlogChannel {
  std::u16string line;
  std::u16string blogName;
};

}  // namespace model
