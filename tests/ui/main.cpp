#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

// Screenshots and text layout checks mean nothing without a font that draws;
// say so loudly instead of letting every picture come out blank.
bool TextRenders() {
  if (QFontDatabase::families().isEmpty()) return false;
  QImage image(64, 24, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Tessary"));
  }
  int dark = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
  }
  return dark > 10;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (!TextRenders()) {
    std::fprintf(stderr,
                 "\n*** tests_ui: no installed font renders text. Install fonts-dejavu-core "
                 "(scripts/setup does) and run again. ***\n\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
