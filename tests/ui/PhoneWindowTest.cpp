#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "ui/DisplayScale.h"
#include "ui/MessageBox.h"
#include "ui/PhoneScreen.h"
#include "ui/PhoneWindow.h"

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
  auto* screen = new ui::PhoneScreen(240, 320);
  ui::PhoneWindow window(screen, 2);
  EXPECT_EQ(window.size(), QSize(480, 640));
  EXPECT_EQ(screen->size(), QSize(240, 320));
  window.SetZoom(9);
  EXPECT_EQ(window.Zoom(), ui::PhoneWindow::kMaxZoom);
  EXPECT_EQ(window.size(), QSize(960, 1280));
  window.SetZoom(0);
  EXPECT_EQ(window.Zoom(), 1);
  EXPECT_EQ(window.size(), QSize(240, 320));
  EXPECT_EQ(screen->grab().size(), QSize(240, 320));

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

TEST(MessageBoxTest, BoxesAreModalAndCaptionedWithTheProgramTitle) {
  QString caption;
  QString text;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    buttons = box->standardButtons();
    defaultButton = box->standardButton(box->defaultButton());
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(ui::MessageBox::Ask("Delete the photo?", true), ui::MessageBox::kNo);
  EXPECT_EQ(caption, "Tessary");
  EXPECT_EQ(text, "Delete the photo?");
  EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(defaultButton, QMessageBox::No);
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
