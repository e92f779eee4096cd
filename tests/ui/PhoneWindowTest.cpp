#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "ui/DisplayScale.h"
#include "ui/MessageBox.h"
#include "ui/PhoneMessageBox.h"
#include "ui/PhoneScreen.h"
#include "ui/PhoneWindow.h"
#include "ui/SoftKeyBar.h"

namespace {

TEST(DisplayScaleTest, LayoutSizesAreTruncatedProducts) {
  ui::DisplayScale::FromDpi(192, 192);
  EXPECT_EQ(ui::DisplayScale::Across(45), 90);
  EXPECT_EQ(ui::DisplayScale::Down(20), 40);
  ui::DisplayScale::FromDpi(131, 120);
  EXPECT_EQ(ui::DisplayScale::Across(45), 61);  // 61.40...
  EXPECT_EQ(ui::DisplayScale::Down(3), 3);      // 3.75
  EXPECT_EQ(ui::DisplayScale::Across(1), 1);
  ui::DisplayScale::FromDpi(96, 96);
  EXPECT_EQ(ui::DisplayScale::Across(45), 45);
}

TEST(PhoneScreenTest, AreasFollowTheScaleFactors) {
  ui::DisplayScale::FromDpi(192, 192);
  ui::PhoneScreen large(480, 640);
  EXPECT_EQ(large.TrayRect(), QRect(0, 0, 480, 40));
  EXPECT_EQ(large.SoftKeyRect(), QRect(0, 640 - 52, 480, 52));
  EXPECT_EQ(large.WorkRect(), QRect(0, 40, 480, 640 - 40 - 52));
  ui::DisplayScale::FromDpi(96, 96);
  ui::PhoneScreen small(240, 320);
  EXPECT_EQ(small.WorkRect(), QRect(0, 20, 240, 274));
}

TEST(PhoneScreenTest, CaptionChangesAreAnnounced) {
  auto* screen = new ui::PhoneScreen(240, 320);  // the window takes it
  ui::PhoneWindow window(screen, 1);
  QSignalSpy spy(screen, &ui::PhoneScreen::CaptionChanged);
  screen->SetCaption("Holidays");
  screen->SetCaption("Holidays");
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(window.windowTitle(), "Holidays");
}

TEST(PhoneWindowTest, ZoomMagnifiesWithoutChangingDevicePixels) {
  // A small phone, so that the test desktop has room for every zoom.
  auto* screen = new ui::PhoneScreen(60, 80);
  ui::PhoneWindow window(screen, 2);
  ASSERT_EQ(window.LargestZoom(), ui::PhoneWindow::kMaxZoom);
  EXPECT_EQ(window.size(), QSize(120, 160));
  EXPECT_EQ(screen->size(), QSize(60, 80));
  window.SetZoom(9);
  EXPECT_EQ(window.Zoom(), ui::PhoneWindow::kMaxZoom);
  EXPECT_EQ(window.size(), QSize(240, 320));
  window.SetZoom(0);
  EXPECT_EQ(window.Zoom(), 1);
  EXPECT_EQ(window.size(), QSize(60, 80));
  EXPECT_EQ(screen->grab().size(), QSize(60, 80));

  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(window.Zoom(), 2);
  QTest::keyClick(&window, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(window.Zoom(), 3);
  QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
  QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(window.Zoom(), 1);
}

TEST(PhoneWindowTest, ZoomStopsWhereTheDesktopEnds) {
  auto* screen = new ui::PhoneScreen(240, 320);
  ui::PhoneWindow window(screen, 4);
  const QRect desktop = window.screen()->availableGeometry();
  EXPECT_LT(window.Zoom(), 4);
  EXPECT_GE(window.Zoom(), 1);
  EXPECT_TRUE(window.Zoom() == 1 || window.height() <= desktop.height());
}

TEST(MessageBoxTest, BoxesAreDrawnInsideThePhoneWithTheirKeys) {
  ui::PhoneScreen screen(240, 320);
  screen.show();
  QString caption;
  QRect area;
  QString left;
  QString right;
  QTimer::singleShot(0, [&] {
    ui::PhoneMessageBox* box = ui::PhoneMessageBox::Active();
    ASSERT_NE(box, nullptr);
    caption = screen.Caption();
    area = box->geometry();
    left = box->Bar()->LeftLabel();
    right = box->Bar()->RightLabel();
    QTest::keyClick(box, Qt::Key_Return);  // the default button: No here
  });
  EXPECT_EQ(ui::MessageBox::Ask("Delete the photo?", true), ui::MessageBox::kNo);
  EXPECT_EQ(caption, "Tessary");
  EXPECT_EQ(area, screen.WorkRect());
  EXPECT_EQ(left, "Yes");
  EXPECT_EQ(right, "No");
  EXPECT_EQ(screen.Caption(), "Tessary");
}

TEST(MessageBoxTest, BackAnswersNoAndClosesAnOkBox) {
  ui::PhoneScreen screen(240, 320);
  screen.show();
  auto back = [] {
    ui::PhoneMessageBox* box = ui::PhoneMessageBox::Active();
    ASSERT_NE(box, nullptr);
    QTest::keyPress(box, Qt::Key_Escape);
    ASSERT_EQ(ui::PhoneMessageBox::Active(), box);  // Back acts when released
    QTest::keyRelease(box, Qt::Key_Escape);
  };
  QTimer::singleShot(0, back);
  EXPECT_EQ(ui::MessageBox::Ask("Sure?", false), ui::MessageBox::kNo);
  QTimer::singleShot(0, back);
  EXPECT_EQ(ui::MessageBox::Show("Done.", ui::MessageBox::Icon::Information), ui::MessageBox::kOk);
  QTimer::singleShot(0, [] { ui::PhoneMessageBox::Active()->Bar()->PressLeft(); });
  EXPECT_EQ(ui::MessageBox::Ask("Sure?", true), ui::MessageBox::kYes);
}

TEST(MessageBoxTest, ResponderAnswersInsteadOfABox) {
  std::vector<ui::MessageBox::Request> seen;
  ui::MessageBox::SetResponder([&](const ui::MessageBox::Request& r) {
    seen.push_back(r);
    return r.yesNo ? int(ui::MessageBox::kYes) : int(ui::MessageBox::kOk);
  });
  EXPECT_EQ(ui::MessageBox::Show("Done.", ui::MessageBox::Icon::Information), ui::MessageBox::kOk);
  EXPECT_EQ(ui::MessageBox::Ask("Sure?", false), ui::MessageBox::kYes);
  ui::MessageBox::SetResponder(nullptr);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].icon, ui::MessageBox::Icon::Information);
  EXPECT_FALSE(seen[0].yesNo);
  EXPECT_EQ(seen[1].icon, ui::MessageBox::Icon::Question);
  EXPECT_FALSE(seen[1].defaultNo);
}

}  // namespace
