#include "server/Records.h"

namespace server {

std::string DisplayName(std::string_view first, std::string_view last, std::string_view email) {
  std::string name(first);
  if (!first.empty() && !last.empty()) name += ' ';
  name += last;
  if (!name.empty()) return name;
  return std::string(email.substr(0, email.find('@')));
}

}  // namespace server
