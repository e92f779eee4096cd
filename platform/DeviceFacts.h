#pragma once

#include <cstdint>
#include <string>

// Facts about the device the program believes it runs on. Defaults are those of
// a current phone; each can be set (command line, environment, tests).
namespace platform {

enum class DeviceType { Smartphone, PocketPC };

struct DeviceFacts {
  DeviceType type = DeviceType::Smartphone;
  uint32_t osMajorVersion = 5;
  uint32_t osMinorVersion = 2;
  uint32_t screenWidth = 240;
  uint32_t screenHeight = 320;
  uint32_t dpi = 96;
  bool socketsStart = true;  // false makes socket start-up fail (tests)

  static DeviceFacts& Current();
  // Reads TESSARY_OS_VERSION and TESSARY_SCREEN ("WxH@DPI").
  void ApplyEnvironment();
  // Parses "WxH@DPI" (the "@DPI" part optional); false when malformed.
  bool ParseScreen(const std::string& text);
};

}  // namespace platform
