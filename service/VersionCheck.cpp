#include "service/VersionCheck.h"

#include "TessaryVersion.h"
#include "service/ServiceSettings.h"

namespace service {

namespace {

std::string& Installed() {
  static std::string version = TESSARY_VERSION;
  return version;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string VersionCheck::DownloadAddress() {
  return "http://" + ServiceSettings::Current().Authority() + kDownloadPath;
}

std::string VersionCheck::Key(std::string_view version) {
  std::string key = "00f9";
  key.insert(0, 1, version.empty() ? '0' : version[0]);
  size_t at = 2;  // the separator after the first character is skipped
  if (at < version.size()) key[1] = version[at++];
  if (at < version.size() && IsDigit(version[at])) key[2] = version[at++];
  if (at < version.size() && version[at] >= 'a' && version[at] <= 'z') key[3] = version[at++];
  if (at < version.size() && IsDigit(version[at])) key[4] = version[at];
  return key;
}

bool VersionCheck::IsOlder(std::string_view version, std::string_view than) {
  return Key(version) < Key(than);
}

const std::string& VersionCheck::ProgramVersion() { return Installed(); }

void VersionCheck::SetProgramVersion(std::string_view version) { Installed() = version; }

}  // namespace service
