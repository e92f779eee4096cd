#pragma once

#include <QImage>
#include <memory>
#include <string>

#include "ui/CDialogScreen.h"

class QCamera;
class QImageCapture;
class QMediaCaptureSession;
class QVideoSink;

namespace photo {

// "Tessary Camera": the live picture of the system's camera filling the screen,
// "Capture" on the left soft key to take the photo, "Cancel" on the right. The
// photo is written as a JPEG file into the folder given; the screen ends with
// kOk once it is there, kCancel when cancelled, or kUnusable when the camera
// could not be used.
class CCameraCaptureDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  static constexpr int kUnusable = 100;
  static constexpr uint32_t kMenuResource = 202;

  // `folder` is a phone folder; the photo goes there as IMG_NNNN.jpg.
  CCameraCaptureDlg(ui::PhoneScreen& screen, QWidget* owner, std::string folder);
  ~CCameraCaptureDlg() override;

  // The phone path of the photo taken.
  const std::string& PhotoPath() const { return photoPath_; }

  // The first free name IMG_NNNN.jpg of a phone folder.
  static std::string NextPhotoPath(const std::string& folder);

 protected:
  void OnInitDialog() override;
  void OnOK() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::string folder_;
  std::string photoPath_;
  bool capturing_ = false;
  QImage frame_;
  QWidget* preview_ = nullptr;
  std::unique_ptr<QMediaCaptureSession> session_;
  std::unique_ptr<QCamera> camera_;
  std::unique_ptr<QImageCapture> capture_;
  std::unique_ptr<QVideoSink> sink_;
};

}  // namespace photo
