#include "ui/JpegPainter.h"

#include <memory>

#include "image/JpegDrawer.h"
#include "image/JpegFileSource.h"
#include "image/JpegMemorySource.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "ui/CPainterCanvas.h"

namespace ui {
namespace {

int32_t Draw(QPainter& painter, image::JpegSource& source, const QRect& target, uint32_t options, QRect& covered) {
  covered = QRect();
  image::Rect area{target.left(), target.top(), target.left() + target.width(), target.top() + target.height()};
  CPainterCanvas canvas(painter);
  const int32_t rc = image::DrawJpeg(source, canvas, area, options);
  if (rc == 0) covered = QRect(area.left, area.top, area.Width(), area.Height());
  return rc;
}

}  // namespace

int32_t JpegPainter::DrawBytes(QPainter& painter, const std::vector<uint8_t>& jpeg, const QRect& target,
                               uint32_t options, QRect& covered) {
  covered = QRect();
  if (jpeg.empty()) return 2;
  image::JpegMemorySource source(jpeg.data(), jpeg.size());
  return Draw(painter, source, target, options, covered);
}

int32_t JpegPainter::DrawFile(QPainter& painter, std::string_view phonePath, const QRect& target, uint32_t options,
                              QRect& covered) {
  covered = QRect();
  std::unique_ptr<platform::File> file;
  const uint32_t rc =
      platform::DeviceFileSystem::Current().OpenFile(phonePath, platform::OpenMode::Read, file);
  if (rc != 0) return static_cast<int32_t>(rc);
  image::JpegFileSource source(*file);
  return Draw(painter, source, target, options, covered);
}

}  // namespace ui
