#include <string>
#include <string_view>

#include "platform/DeviceFileSystem.h"

namespace platform {

std::string JoinPhonePath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty() || out.back() != '\\') out.push_back('\\');
  size_t skip = 0;
  while (skip < name.size() && name[skip] == '\\') ++skip;
  out.append(name.substr(skip));
  return out;
}

std::string_view PhoneFileName(std::string_view phonePath) {
  size_t slash = phonePath.rfind('\\');
  return slash == std::string_view::npos ? phonePath : phonePath.substr(slash + 1);
}

std::string_view PhoneFolderOf(std::string_view phonePath) {
  size_t slash = phonePath.rfind('\\');
  return slash == std::string_view::npos ? std::string_view() : phonePath.substr(0, slash);
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\\' || c == '/' || c == ':' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

}  // namespace platform
