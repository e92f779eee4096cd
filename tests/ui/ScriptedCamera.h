#pragma once

#include <deque>
#include <string>
#include <vector>

#include "photo/CameraLauncher.h"
#include "tests/support/TempDeviceRoot.h"

namespace uitest {

// A camera that answers each launch from a script, the camera in use while it
// lives. A photo "taken" is a small JPEG file (or, when asked, a file that is
// not one) written into the folder the launch was given.
class ScriptedCamera : public photo::CameraLauncher {
 public:
  explicit ScriptedCamera(testsupport::TempDeviceRoot& root);
  ~ScriptedCamera() override;

  // The next launch answers `result`; kPhotoTaken writes a photo first.
  ScriptedCamera& Then(int result, bool jpeg = true);

  bool HasSupportedCamera() override { return supported; }
  int Launch(ui::PhoneScreen& screen, QWidget* owner, const std::string& folder, std::string& path) override;
  void SetAnswerHandler(AnswerHandler handler) override { answer = std::move(handler); }

  bool supported = true;
  int launches = 0;
  std::vector<std::string> photos;  // phone paths of the photos taken
  AnswerHandler answer;

 private:
  struct Step {
    int result;
    bool jpeg;
  };
  testsupport::TempDeviceRoot& root_;
  std::deque<Step> script_;
};

}  // namespace uitest
