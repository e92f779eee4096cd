#pragma once

#include <memory>
#include <optional>
#include <string>

#include "photo/CameraLauncher.h"

namespace photo {

class HtcCameraAgent;

enum class CameraKind { None = 0, ShellCapture = 1, HtcCamera = 2 };

// The device's own camera. Which kind it has is decided once, on first use:
// the system's camera through Qt Multimedia on OS version 5 and later ("shell
// capture"), else the older external camera program when the registry names
// it, else none.
class DeviceCamera : public CameraLauncher {
 public:
  static constexpr const char* kHtcCameraKey = "SOFTWARE\\HTC\\Camera";

  DeviceCamera();
  ~DeviceCamera() override;

  CameraKind Kind();
  static CameraKind DetectKind();
  // The external camera program named by the registry value "Path": a string
  // of at most 260 bytes (its terminating zero included) naming an existing
  // file; false otherwise.
  static bool ReadHtcCameraPath(std::string& path);

  bool HasSupportedCamera() override { return Kind() != CameraKind::None; }
  int Launch(ui::PhoneScreen& screen, QWidget* owner, const std::string& folder, std::string& path) override;
  void SetAnswerHandler(AnswerHandler handler) override;

  // The system camera's route: 0 without a camera device, 3 with the photo's
  // path, 1 when cancelled.
  static int LaunchShellCapture(ui::PhoneScreen& screen, QWidget* owner, const std::string& folder,
                                std::string& path);

 private:
  std::optional<CameraKind> kind_;
  std::unique_ptr<HtcCameraAgent> agent_;
  AnswerHandler handler_;
};

}  // namespace photo
