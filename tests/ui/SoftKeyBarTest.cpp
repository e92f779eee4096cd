#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "ui/CommandIds.h"
#include "ui/DisplayScale.h"
#include "ui/MenuBuilder.h"
#include "ui/PhoneMenu.h"
#include "ui/PhoneScreen.h"
#include "ui/SoftKeyBar.h"

namespace {

using ui::SoftKeyBar;

class SoftKeyBarTest : public testing::Test {
 protected:
  void SetUp() override {
    ui::DisplayScale::Set(1.0, 1.0);
    screen_ = std::make_unique<ui::PhoneScreen>(240, 320);
    focus_ = new QWidget(screen_.get());
    focus_->setGeometry(screen_->WorkRect());
    focus_->setFocusPolicy(Qt::StrongFocus);
    screen_->show();
    screen_->SetMainWindow(focus_);
    focus_->setFocus();
  }

  std::vector<uint32_t> Commands(QSignalSpy& spy) {
    std::vector<uint32_t> out;
    for (const QList<QVariant>& args : spy) out.push_back(args.at(0).toUInt());
    return out;
  }

  std::unique_ptr<ui::PhoneScreen> screen_;
  QWidget* focus_ = nullptr;
};

TEST_F(SoftKeyBarTest, LabelsComeFromTheMenuResource) {
  SoftKeyBar home(*screen_, 128);
  EXPECT_EQ(home.LeftLabel(), "Sync");
  EXPECT_EQ(home.RightLabel(), "Tools");
  SoftKeyBar progress(*screen_, 201);
  EXPECT_EQ(progress.LeftLabel(), "Cancel");
  EXPECT_TRUE(progress.RightLabel().isEmpty());
  EXPECT_EQ(progress.RightMenu(), nullptr);
  // Show and Category sit at positions 5 and 6 of the blog view's Tools menu.
  SoftKeyBar blog(*screen_, 129);
  QMenu* show = ui::MenuBuilder::SubMenuAt(*blog.RightMenu(), 5);
  QMenu* category = ui::MenuBuilder::SubMenuAt(*blog.RightMenu(), 6);
  ASSERT_NE(show, nullptr);
  ASSERT_NE(category, nullptr);
  EXPECT_EQ(show->actions().size(), 4);
  EXPECT_EQ(ui::MenuBuilder::CommandOf(category->actions().first()), ui::commands::kCategoryAll);
}

TEST_F(SoftKeyBarTest, F1PressesTheLeftKeyOfTheBarShownLast) {
  SoftKeyBar home(*screen_, 128);
  QSignalSpy homeSpy(&home, &SoftKeyBar::CommandChosen);
  home.show();
  QTest::keyClick(focus_, Qt::Key_F1);
  EXPECT_EQ(Commands(homeSpy), std::vector<uint32_t>{ui::commands::kSyncHome});

  auto blog = std::make_unique<SoftKeyBar>(*screen_, 129);
  QSignalSpy blogSpy(blog.get(), &SoftKeyBar::CommandChosen);
  blog->show();
  EXPECT_EQ(screen_->TopBar(), blog.get());
  QTest::keyClick(focus_, Qt::Key_F1);
  EXPECT_EQ(Commands(blogSpy), std::vector<uint32_t>{ui::commands::kCamera});

  blog->hide();
  EXPECT_EQ(screen_->TopBar(), &home);
  blog.reset();
  QTest::keyClick(focus_, Qt::Key_F1);
  EXPECT_EQ(homeSpy.count(), 2);
}

TEST_F(SoftKeyBarTest, RightKeyMenuOpensAboveTheBarAndIsDrivenByKeys) {
  SoftKeyBar home(*screen_, 128);
  QSignalSpy spy(&home, &SoftKeyBar::CommandChosen);
  home.show();
  QTest::keyClick(focus_, Qt::Key_F2);
  ui::PhoneMenu* menu = home.OpenMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->geometry().bottom() + 1, home.geometry().top());
  EXPECT_EQ(menu->geometry().right(), screen_->width() - 1);
  // The first item is lit: Down twice reaches "Edit Blogs".
  QTest::keyClick(menu, Qt::Key_Down);
  QTest::keyClick(menu, Qt::Key_Down);
  QTest::keyClick(menu, Qt::Key_Return);
  EXPECT_EQ(home.OpenMenu(), nullptr);
  EXPECT_EQ(Commands(spy), std::vector<uint32_t>{ui::commands::kEditBlogs});
  // The keys are back where they were.
  EXPECT_EQ(screen_->focusWidget(), focus_);

  QTest::keyClick(focus_, Qt::Key_F2);
  menu = home.OpenMenu();
  ASSERT_NE(menu, nullptr);
  QTest::keyPress(menu, Qt::Key_Escape);
  EXPECT_EQ(home.OpenMenu(), menu);  // Back acts on its release
  QTest::keyRelease(menu, Qt::Key_Escape);
  EXPECT_EQ(home.OpenMenu(), nullptr);
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(screen_->focusWidget(), focus_);
}

TEST_F(SoftKeyBarTest, SubMenusOpenInsideTheScreenWithTheirCheckMarks) {
  SoftKeyBar blog(*screen_, 129);
  QSignalSpy spy(&blog, &SoftKeyBar::CommandChosen);
  blog.show();
  QMenu* show = ui::MenuBuilder::SubMenuAt(*blog.RightMenu(), 5);
  ui::MenuBuilder::CheckPosition(*show, 1);
  blog.PressRight();
  ui::PhoneMenu* menu = blog.OpenMenu();
  ASSERT_NE(menu, nullptr);
  for (int i = 0; i < 4; ++i) QTest::keyClick(menu, Qt::Key_Down);  // separators are passed over
  EXPECT_EQ(menu->Highlighted()->menu(), show);
  QTest::keyClick(menu, Qt::Key_Right);
  ui::PhoneMenu* sub = menu->SubMenu();
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(screen_->rect().contains(sub->geometry()));
  EXPECT_LE(sub->geometry().bottom(), blog.geometry().top());
  // It opens on the checked item.
  EXPECT_EQ(ui::MenuBuilder::CommandOf(sub->Highlighted()), ui::commands::kShowPending);
  QTest::keyClick(sub, Qt::Key_Left);
  EXPECT_EQ(menu->SubMenu(), nullptr);
  EXPECT_EQ(screen_->focusWidget(), menu);
  QTest::keyClick(menu, Qt::Key_Return);  // Enter opens a sub-menu too
  QTest::keyClick(menu->SubMenu(), Qt::Key_Down);
  QTest::keyClick(menu->SubMenu(), Qt::Key_Return);
  EXPECT_EQ(Commands(spy), std::vector<uint32_t>{ui::commands::kShowPublished});
}

TEST_F(SoftKeyBarTest, AClickOutsideOrTheKeyAgainClosesTheMenu) {
  SoftKeyBar home(*screen_, 128);
  QSignalSpy spy(&home, &SoftKeyBar::CommandChosen);
  home.show();
  home.PressRight();
  ASSERT_NE(home.OpenMenu(), nullptr);
  QTest::mouseClick(screen_->childAt(QPoint(5, 40)), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(home.OpenMenu(), nullptr);
  home.PressRight();
  ASSERT_NE(home.OpenMenu(), nullptr);
  QTest::keyClick(home.OpenMenu(), Qt::Key_F2);
  EXPECT_EQ(home.OpenMenu(), nullptr);
  EXPECT_EQ(spy.count(), 0);
}

TEST_F(SoftKeyBarTest, CommandsTheFilterRefusesAreGreyedAndNotSent) {
  SoftKeyBar home(*screen_, 128);
  QSignalSpy spy(&home, &SoftKeyBar::CommandChosen);
  home.SetCommandFilter([](uint32_t command) { return command == ui::commands::kAccountInfo; });
  home.show();
  home.PressLeft();
  EXPECT_EQ(spy.count(), 0);
  home.PressRight();
  QMenu* menu = home.RightMenu();
  EXPECT_TRUE(ui::MenuBuilder::FindCommand(*menu, ui::commands::kAccountInfo)->isEnabled());
  EXPECT_FALSE(ui::MenuBuilder::FindCommand(*menu, ui::commands::kEditBlogs)->isEnabled());
  // The greyed items cannot be lit: the menu opens on the one that acts.
  EXPECT_EQ(ui::MenuBuilder::CommandOf(home.OpenMenu()->Highlighted()), ui::commands::kAccountInfo);
  home.OpenMenu()->Dismiss();
}

TEST_F(SoftKeyBarTest, ClicksOnEitherHalfPressTheKeys) {
  SoftKeyBar dialog(*screen_, 190);
  QSignalSpy spy(&dialog, &SoftKeyBar::CommandChosen);
  dialog.show();
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(10, dialog.height() / 2));
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(dialog.width() - 10, dialog.height() / 2));
  EXPECT_EQ(Commands(spy), (std::vector<uint32_t>{ui::commands::kOk, ui::commands::kCancel}));
  dialog.setEnabled(false);
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(10, dialog.height() / 2));
  EXPECT_EQ(spy.count(), 2);
}

TEST(MenuBuilderTest, InsertAndCheckByPosition) {
  QMenu menu;
  ui::MenuBuilder::NewAction(menu, 10, "a");
  ui::MenuBuilder::NewAction(menu, 30, "c");
  ui::MenuBuilder::InsertAction(menu, 1, 20, "b");
  ui::MenuBuilder::InsertAction(menu, 99, 40, "d");
  ASSERT_EQ(menu.actions().size(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ui::MenuBuilder::CommandOf(menu.actions()[i]), 10u * (i + 1));
  ui::MenuBuilder::CheckPosition(menu, 2);
  EXPECT_EQ(ui::MenuBuilder::CheckedPosition(menu), 2);
  ui::MenuBuilder::CheckPosition(menu, -1);
  EXPECT_EQ(ui::MenuBuilder::CheckedPosition(menu), -1);
  EXPECT_EQ(ui::MenuBuilder::FindCommand(menu, 77), nullptr);
}

}  // namespace
