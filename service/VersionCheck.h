#pragma once

#include <string>
#include <string_view>

namespace service {

// Version texts of the program and of the service's messages file, compared by a
// five-character key: major digit, minor digit, an optional second minor digit,
// a pre-release letter ("f" for a release) and its number ("9" for a release),
// so that "2.1b3" sorts before "2.1" and "2.1" before "2.15".
class VersionCheck {
 public:
  static constexpr const char* kMessagesPath = "/Downloads/messages/wms/Tessary.txt";
  static constexpr const char* kChannelsPath = "/Downloads/messages/wms/TessaryChannels.txt";
  static constexpr const char* kDownloadPath = "/Downloads/";

  // The page a newer version is downloaded from, on the service's web site.
  static std::string DownloadAddress();

  static std::string Key(std::string_view version);
  static bool IsOlder(std::string_view version, std::string_view than);

  // The version of this program; tests may pretend another one.
  static const std::string& ProgramVersion();
  static void SetProgramVersion(std::string_view version);
};

}  // namespace service
