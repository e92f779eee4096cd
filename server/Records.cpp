#include "server/Records.h"

namespace server {

std::string DisplayName(const std::string& first, const std::string& last, const std::string& email) {
  std::string name = first;
  if (!first.empty() && !last.empty()) name += ' ';
  name += last;
  if (!name.empty()) return name;
  return email.substr(0, email.find('@'));
}

}  // namespace server
