#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "ui/CIconList.h"
#include "ui/CProgressWnd.h"
#include "ui/DisplayScale.h"
#include "ui/PhoneScreen.h"
#include "ui/SoftKeyBar.h"

namespace {

class ProgressTest : public testing::Test {
 protected:
  void SetUp() override {
    ui::DisplayScale::Set(1.0, 1.0);
    screen = std::make_unique<ui::PhoneScreen>(240, 320);
    mainWindow = new QWidget(screen.get());
    mainWindow->setGeometry(screen->WorkRect());
    owner = new QWidget(mainWindow);
    screen->show();
  }

  std::unique_ptr<ui::PhoneScreen> screen;
  QWidget* mainWindow = nullptr;
  QWidget* owner = nullptr;
};

TEST_F(ProgressTest, DisablesTheMainWindowWhileItExists) {
  {
    ui::CProgressWnd progress(*screen);
    ASSERT_TRUE(progress.Create(owner, 3, false));
    EXPECT_FALSE(mainWindow->isEnabled());
    EXPECT_FALSE(progress.isVisible());
    progress.show();
    EXPECT_EQ(screen->Caption(), "Progress");
  }
  EXPECT_TRUE(mainWindow->isEnabled());
  EXPECT_EQ(screen->Caption(), "Tessary");

  // A main window that was already disabled stays disabled.
  mainWindow->setEnabled(false);
  {
    ui::CProgressWnd progress(*screen);
    ASSERT_TRUE(progress.Create(owner, 3, true));
  }
  EXPECT_FALSE(mainWindow->isEnabled());
}

TEST_F(ProgressTest, CancelKeySetsTheFlagAndLeavesTheWindowOpen) {
  ui::CProgressWnd progress(*screen);
  ASSERT_TRUE(progress.Create(owner, 3, true));
  EXPECT_FALSE(progress.IsCancelled());
  EXPECT_EQ(screen->TopBar(), progress.Bar());
  EXPECT_EQ(progress.Bar()->LeftLabel(), "Cancel");
  QTest::keyClick(&progress, Qt::Key_F1);
  EXPECT_TRUE(progress.IsCancelled());
  EXPECT_TRUE(progress.isVisible());
  progress.ResetCancel();
  EXPECT_FALSE(progress.IsCancelled());
}

TEST_F(ProgressTest, AnimationStepsAtMostEvery30Milliseconds) {
  ui::CProgressWnd progress(*screen);
  ASSERT_TRUE(progress.Create(owner, 3, true));
  int64_t now = 1000;
  progress.SetClock([&] { return now; });
  for (int i = 0; i < 50; ++i) progress.Pump();
  EXPECT_EQ(progress.Frame(), 0);
  now += 29;
  progress.Pump();
  EXPECT_EQ(progress.Frame(), 0);
  now += 1;
  for (int i = 0; i < 50; ++i) progress.Pump();
  EXPECT_EQ(progress.Frame(), 1);
  for (int step = 2; step <= 4; ++step) {
    now += 45;
    progress.Pump();
  }
  EXPECT_EQ(progress.Frame(), 0);  // four frames, round again
}

TEST_F(ProgressTest, LinesAndCoreTexts) {
  ui::CProgressWnd progress(*screen);
  ASSERT_TRUE(progress.Create(owner, 3, true));
  progress.SetLine(0, 145u);  // a stage text from the string table
  progress.SetText("Connecting to network...");
  progress.SetLine(5, QString("ignored"));
  EXPECT_EQ(progress.Line(0), "Synchronizing...");
  EXPECT_EQ(progress.Line(1), "Connecting to network...");
  EXPECT_EQ(progress.Line(5), QString());
  const QImage shot = progress.grab().toImage();
  EXPECT_EQ(shot.pixelColor(2, shot.height() - 3), QColor(225, 240, 255));
  int dark = 0;
  for (int x = 0; x < shot.width(); ++x) {
    for (int y = 4; y < 4 + 2 * progress.fontMetrics().height(); ++y) dark += qGray(shot.pixel(x, y)) < 100;
  }
  EXPECT_GT(dark, 50);
}

TEST(CIconListTest, CutsImagesAndLeavesTheKeyColourOut) {
  QImage strip(2 + 2 * (4 + 2), 2 + 2 * (4 + 2), QImage::Format_RGB32);
  strip.fill(qRgb(0, 255, 255));
  ui::CIconList icons;
  ASSERT_TRUE(icons.Create(strip, 2, 4, 4, 4, 2));
  EXPECT_EQ(icons.SourceRect(3), QRect(2 + 6, 2 + 6, 4, 4));
  EXPECT_EQ(icons.SourceRect(2), QRect(2, 8, 4, 4));
  QPainter fill(&strip);
  fill.fillRect(icons.SourceRect(3).adjusted(1, 1, -1, -1), Qt::red);
  fill.end();
  ASSERT_TRUE(icons.Create(strip, 2, 4, 4, 4, 2));

  QImage target(10, 10, QImage::Format_RGB32);
  target.fill(Qt::green);
  QPainter painter(&target);
  icons.Draw(painter, 3, 3, 3);
  icons.Draw(painter, 4, 0, 0);  // outside the list: nothing
  painter.end();
  EXPECT_EQ(target.pixelColor(3, 3), QColor(Qt::green));
  EXPECT_EQ(target.pixelColor(4, 4), QColor(Qt::red));
  EXPECT_EQ(target.pixelColor(0, 0), QColor(Qt::green));

  EXPECT_FALSE(icons.Create(strip, 2, 6, 4, 4, 2));  // a third row does not fit
  EXPECT_FALSE(icons.Create(999, 1, 4, 16, 16));
  EXPECT_TRUE(icons.Create(159, 1, 4, 16, 16));
}

}  // namespace
