#pragma once

#include <cstdint>

namespace ui {

// Key codes as the phone delivers them to windows.
enum KeyCode : uint32_t {
  kKeyBack = 0x1B,  // the Back key arrives as Escape
  kKeyReturn = 0x0D,
  kKeyPageUp = 0x21,
  kKeyPageDown = 0x22,
  kKeyLeft = 0x25,
  kKeyUp = 0x26,
  kKeyRight = 0x27,
  kKeyDown = 0x28,
  kKeySoftLeft = 0x70,
  kKeySoftRight = 0x71,
  kKeyF6 = 0x75,  // in the viewer: the entry's whole caption
};

// The phone key code of a Qt key, 0 for keys the phone does not have.
uint32_t PhoneKeyFromQt(int qtKey);

}  // namespace ui
