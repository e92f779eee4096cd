#include "photo/CCameraCaptureDlg.h"

#include <QCamera>
#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QPainter>
#include <QPaintEvent>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>
#include <cstdio>
#include <filesystem>

#include "platform/DeviceFileSystem.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"

namespace photo {

CCameraCaptureDlg::CCameraCaptureDlg(ui::PhoneScreen& screen, QWidget* owner, std::string folder)
    : CDialogScreen(screen, owner, ui::Label(platform::strings::kCameraTitle), kMenuResource),
      folder_(std::move(folder)) {
  Column()->setContentsMargins(0, 0, 0, 0);
  preview_ = new QWidget(Content());
  preview_->installEventFilter(this);
  Column()->addWidget(preview_, 100);
}

CCameraCaptureDlg::~CCameraCaptureDlg() {
  if (camera_) camera_->stop();
}

std::string CCameraCaptureDlg::NextPhotoPath(const std::string& folder) {
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  for (unsigned n = 1; n < 100000; ++n) {
    char name[32];
    std::snprintf(name, sizeof(name), "IMG_%04u.jpg", n);
    const std::string path = platform::JoinPhonePath(folder, name);
    if (!fs.Exists(path)) return path;
  }
  return {};
}

void CCameraCaptureDlg::OnInitDialog() {
  session_ = std::make_unique<QMediaCaptureSession>();
  camera_ = std::make_unique<QCamera>();
  capture_ = std::make_unique<QImageCapture>();
  sink_ = std::make_unique<QVideoSink>();
  capture_->setFileFormat(QImageCapture::JPEG);
  session_->setCamera(camera_.get());
  session_->setImageCapture(capture_.get());
  session_->setVideoSink(sink_.get());
  connect(sink_.get(), &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
    frame_ = frame.toImage();
    preview_->update();
  });
  // A camera that cannot be opened is no camera for this photo.
  connect(camera_.get(), &QCamera::errorOccurred, this, [this](QCamera::Error error, const QString&) {
    if (error != QCamera::NoError && !capturing_) EndDialog(kUnusable);
  });
  connect(capture_.get(), &QImageCapture::imageSaved, this, [this](int, const QString&) { EndDialog(kOk); });
  connect(capture_.get(), &QImageCapture::errorOccurred, this, [this](int, QImageCapture::Error, const QString&) {
    capturing_ = false;
    platform::DeviceFileSystem::Current().DeleteFile(photoPath_);
    photoPath_.clear();
  });
  camera_->start();
}

void CCameraCaptureDlg::OnOK() {
  if (capturing_ || !capture_ || !capture_->isReadyForCapture()) return;
  photoPath_ = NextPhotoPath(folder_);
  std::filesystem::path host;
  if (photoPath_.empty() || platform::DeviceFileSystem::Current().ToHostPath(photoPath_, host) != 0) {
    photoPath_.clear();
    return;
  }
  capturing_ = true;
  capture_->captureToFile(QString::fromStdString(host.string()));
}

bool CCameraCaptureDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == preview_ && event->type() == QEvent::Paint) {
    QPainter painter(preview_);
    painter.fillRect(preview_->rect(), Qt::black);
    if (!frame_.isNull()) {
      const QSize fitted = frame_.size().scaled(preview_->size(), Qt::KeepAspectRatio);
      const QRect target((preview_->width() - fitted.width()) / 2, (preview_->height() - fitted.height()) / 2,
                         fitted.width(), fitted.height());
      painter.drawImage(target, frame_);
    }
    return true;
  }
  return CDialogScreen::eventFilter(watched, event);
}

}  // namespace photo
