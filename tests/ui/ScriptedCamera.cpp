#include "tests/ui/ScriptedCamera.h"

#include <QColor>
#include <QImage>
#include <fstream>

#include "platform/DeviceFileSystem.h"

namespace uitest {

ScriptedCamera::ScriptedCamera(testsupport::TempDeviceRoot& root) : root_(root) { SetCurrent(this); }

ScriptedCamera::~ScriptedCamera() { SetCurrent(nullptr); }

ScriptedCamera& ScriptedCamera::Then(int result, bool jpeg) {
  script_.push_back({result, jpeg});
  return *this;
}

int ScriptedCamera::Launch(ui::PhoneScreen&, QWidget*, const std::string& folder, std::string& path) {
  ++launches;
  path.clear();
  if (script_.empty()) return photo::kNothingTaken;
  const Step step = script_.front();
  script_.pop_front();
  if (step.result != photo::kPhotoTaken) return step.result;
  path = platform::JoinPhonePath(folder, "SHOT_" + std::to_string(launches) + ".jpg");
  const std::string host = root_.Host(path).string();
  if (step.jpeg) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(launches * 50 % 360, 200, 220));
    image.save(QString::fromStdString(host), "JPG");
  } else {
    std::ofstream(host) << "not a photo";
  }
  photos.push_back(path);
  return photo::kPhotoTaken;
}

}  // namespace uitest
