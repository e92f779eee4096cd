#pragma once

#include <string>
#include <vector>

namespace app {

// The tessary program's command line: device facts, device root, service and
// the desktop zoom. It is read before Qt starts, so --help and --version work
// without a display.
struct AppOptions {
  enum class Outcome { Run, Exit, Usage };

  std::string deviceRoot;  // --device-root / TESSARY_DEVICE_ROOT
  std::string service;     // --service HOST[:PORT] / TESSARY_SERVICE
  std::string screen;      // --screen WxH@DPI / TESSARY_SCREEN
  std::string osVersion;   // --os-version / TESSARY_OS_VERSION
  int zoom = 1;            // --zoom N

  // Parses `arguments` (program name first). Exit: `message` holds the help or
  // the version to print; Usage: it says what is wrong.
  Outcome Parse(const std::vector<std::string>& arguments, std::string& message);
  // Applies the device facts and the service settings (environment, then
  // options). False when one is malformed.
  bool ApplySettings(std::string& error) const;
  // The arguments ask only for the help or the version.
  static bool AsksForInformation(const std::vector<std::string>& arguments);
};

}  // namespace app
