#pragma once

#include <QStringList>
#include <string>

// The tessary program's command line: device facts, device root, service and
// the desktop zoom.
struct AppOptions {
  std::string deviceRoot;  // --device-root / TESSARY_DEVICE_ROOT
  std::string service;     // --service HOST[:PORT] / TESSARY_SERVICE
  std::string screen;      // --screen WxH@DPI / TESSARY_SCREEN
  std::string osVersion;   // --os-version / TESSARY_OS_VERSION
  int zoom = 1;            // --zoom N

  // Parses `arguments` (program name first). On failure `error` says why.
  bool Parse(const QStringList& arguments, std::string& error);
  // Applies the device facts and the service settings (environment, then
  // options). False when one is malformed.
  bool ApplySettings(std::string& error) const;
};
