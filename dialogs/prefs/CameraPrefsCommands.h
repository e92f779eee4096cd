#pragma once

#include "ui/CommandTable.h"

namespace dialogs {

// Camera Prefs... (home view's Tools menu): refused on a device without a
// supported camera, else the Camera Preferences screen.
class CameraPrefsCommands {
 public:
  static ui::CommandTable Table();
};

}  // namespace dialogs
