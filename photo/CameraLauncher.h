#pragma once

#include <functional>
#include <string>

class QWidget;

namespace ui {
class PhoneScreen;
}

namespace photo {

// What launching the camera answers.
enum CameraResult : int {
  kCameraUnusable = 0,  // the camera could not be used
  kNothingTaken = 1,    // cancelled, or no way to launch it
  kHandedOver = 2,      // an asynchronous camera has the request; its answer comes later
  kPhotoTaken = 3,      // a photo was taken: its path is given
};

// The device's camera as the program uses it: whether there is one, and a
// launch that takes a photo into a folder. An asynchronous camera answers later
// through the answer handler, on the program's thread.
class CameraLauncher {
 public:
  // The phone path of the photo an asynchronous camera took, or empty when it
  // took none.
  using AnswerHandler = std::function<void(const std::string& path)>;

  virtual ~CameraLauncher() = default;

  virtual bool HasSupportedCamera() = 0;
  // Takes a photo into the phone folder `folder`; `path` receives its phone path
  // with kPhotoTaken.
  virtual int Launch(ui::PhoneScreen& screen, QWidget* owner, const std::string& folder, std::string& path) = 0;
  virtual void SetAnswerHandler(AnswerHandler handler) = 0;

  // The camera in use: the device's, unless one was set (tests).
  static CameraLauncher& Current();
  static void SetCurrent(CameraLauncher* camera);
};

}  // namespace photo
