#include "photo/DeviceCamera.h"

#include <QCameraDevice>
#include <QMediaDevices>

#include "photo/CCameraCaptureDlg.h"
#include "photo/HtcCameraAgent.h"
#include "platform/DeviceFacts.h"
#include "platform/DeviceFileSystem.h"
#include "platform/Registry.h"
#include "platform/TextConversion.h"

namespace photo {

namespace {

CameraLauncher* g_current = nullptr;

}  // namespace

CameraLauncher& CameraLauncher::Current() {
  if (g_current) return *g_current;
  // Made once and kept for the whole run, as the camera kind is.
  static DeviceCamera* device = new DeviceCamera();
  return *device;
}

void CameraLauncher::SetCurrent(CameraLauncher* camera) { g_current = camera; }

DeviceCamera::DeviceCamera() = default;
DeviceCamera::~DeviceCamera() = default;

CameraKind DeviceCamera::Kind() {
  if (!kind_) kind_ = DetectKind();
  return *kind_;
}

CameraKind DeviceCamera::DetectKind() {
  if (platform::DeviceFacts::Current().osMajorVersion > 4) return CameraKind::ShellCapture;
  std::string path;
  return ReadHtcCameraPath(path) ? CameraKind::HtcCamera : CameraKind::None;
}

bool DeviceCamera::ReadHtcCameraPath(std::string& path) {
  path.clear();
  platform::RegistryHandle key = nullptr;
  if (platform::RegOpenKey(platform::Hive::LocalMachine, kHtcCameraKey, key) != 0) return false;
  char16_t buffer[130] = {};
  uint32_t type = 0;
  uint32_t length = sizeof(buffer);
  const uint32_t rc = platform::RegQueryValue(key, "Path", type, buffer, length);
  platform::RegCloseKey(key);
  if (rc != 0 || type != platform::kRegString || length > 260) return false;
  std::u16string wide(buffer, length / 2);
  while (!wide.empty() && wide.back() == u'\0') wide.pop_back();
  path = platform::Utf16ToUtf8(wide);
  return path == "\\" || (!path.empty() && platform::DeviceFileSystem::Current().Exists(path));
}

int DeviceCamera::Launch(ui::PhoneScreen& screen, QWidget* owner, const std::string& folder, std::string& path) {
  path.clear();
  switch (Kind()) {
    case CameraKind::ShellCapture: return LaunchShellCapture(screen, owner, folder, path);
    case CameraKind::HtcCamera: {
      std::string program;
      if (!ReadHtcCameraPath(program)) return kNothingTaken;
      if (!agent_) {
        agent_ = std::make_unique<HtcCameraAgent>();
        agent_->SetAnswerHandler(handler_);
      }
      return agent_->Launch(owner, program, folder);
    }
    case CameraKind::None: break;
  }
  return kCameraUnusable;
}

void DeviceCamera::SetAnswerHandler(AnswerHandler handler) {
  handler_ = std::move(handler);
  if (agent_) agent_->SetAnswerHandler(handler_);
}

int DeviceCamera::LaunchShellCapture(ui::PhoneScreen& screen, QWidget* owner, const std::string& folder,
                                     std::string& path) {
  path.clear();
  if (QMediaDevices::videoInputs().isEmpty()) return kCameraUnusable;
  if (!platform::DeviceFileSystem::Current().IsDirectory(folder)) return kNothingTaken;
  CCameraCaptureDlg dialog(screen, owner, folder);
  switch (dialog.DoModal()) {
    case ui::CDialogScreen::kOk: path = dialog.PhotoPath(); return kPhotoTaken;
    case CCameraCaptureDlg::kUnusable: return kCameraUnusable;
    default: return kNothingTaken;
  }
}

}  // namespace photo
