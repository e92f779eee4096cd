#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "app/CommandRouter.h"
#include "dialogs/account/CWelcomeDlg.h"
#include "platform/StringIds.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CChildView.h"
#include "ui/CDialogScreen.h"
#include "ui/CProgressWnd.h"
#include "ui/DisplayScale.h"
#include "ui/MessageBox.h"
#include "ui/PhoneMessageBox.h"
#include "ui/PhoneScreen.h"
#include "ui/CommandTable.h"
#include "ui/SoftKeyBar.h"

namespace {

// A screen with a line, a multi-line field and another line, in that order.
class ThreeFields : public ui::CDialogScreen {
 public:
  explicit ThreeFields(ui::PhoneScreen& screen) : CDialogScreen(screen, nullptr, "Fields", 190) {
    first = AddEdit(Column(), 20);
    notes = new QPlainTextEdit(Content());
    Column()->addWidget(notes);
    last = AddEdit(Column(), 20);
  }
  QLineEdit* first;
  QPlainTextEdit* notes;
  QLineEdit* last;
};

// A screen with a text and no field, as a question of its own.
class TextAlone : public ui::CDialogScreen {
 public:
  explicit TextAlone(ui::PhoneScreen& screen) : CDialogScreen(screen, nullptr, "Text", 190) {
    AddText(Column(), platform::strings::kAskPurgePhotos);
  }
  bool confirmed = false;

 protected:
  void OnOK() override {
    confirmed = true;
    CDialogScreen::OnOK();
  }
};

QWidget* Focused(ui::PhoneScreen& screen) { return screen.focusWidget(); }

TEST(DialogKeysTest, DownChoosesTheNextRadioButton) {
  ui::DisplayScale::Set(1.0, 1.0);
  ui::PhoneScreen screen(240, 320);
  screen.show();
  dialogs::CWelcomeDlg welcome(screen, nullptr);
  QTimer::singleShot(0, [&] {
    QTest::keyClick(Focused(screen), Qt::Key_Down);
    EXPECT_EQ(Focused(screen), welcome.LoginButton());
    EXPECT_TRUE(welcome.LoginButton()->isChecked());
    QTest::keyClick(Focused(screen), Qt::Key_Up);
    EXPECT_TRUE(welcome.CreateButton()->isChecked());
    QTest::keyClick(Focused(screen), Qt::Key_Down);
    QTest::keyClick(Focused(screen), Qt::Key_Return);  // Next
  });
  welcome.DoModal();
  EXPECT_EQ(welcome.GetChoice(), dialogs::CWelcomeDlg::Choice::EnterLoginInfo);
}

TEST(DialogKeysTest, AScreenOfTextAloneTakesEnterItself) {
  ui::DisplayScale::Set(1.0, 1.0);
  ui::PhoneScreen screen(240, 320);
  screen.show();
  TextAlone text(screen);
  QTimer::singleShot(0, [&] {
    EXPECT_EQ(Focused(screen), &text);
    if (Focused(screen) != nullptr) QTest::keyClick(Focused(screen), Qt::Key_Return);
    if (!text.confirmed) text.EndDialog(ui::CDialogScreen::kCancel);
  });
  EXPECT_EQ(text.DoModal(), ui::CDialogScreen::kOk);
}

TEST(DialogKeysTest, AMultiLineFieldKeepsUpAndDownUntilItsLastLine) {
  ui::DisplayScale::Set(1.0, 1.0);
  ui::PhoneScreen screen(240, 320);
  screen.show();
  ThreeFields fields(screen);
  QTimer::singleShot(0, [&] {
    fields.notes->setPlainText("one\ntwo");
    fields.notes->moveCursor(QTextCursor::Start);
    EXPECT_EQ(Focused(screen), fields.first);
    QTest::keyClick(fields.first, Qt::Key_Down);
    EXPECT_EQ(Focused(screen), fields.notes);
    QTest::keyClick(fields.notes, Qt::Key_Down);  // to "two"
    EXPECT_EQ(Focused(screen), fields.notes);
    EXPECT_EQ(fields.notes->textCursor().blockNumber(), 1);
    QTest::keyClick(fields.notes, Qt::Key_Down);  // from the last line on
    EXPECT_EQ(Focused(screen), fields.last);
    QTest::keyClick(fields.last, Qt::Key_Down);  // round to the first
    EXPECT_EQ(Focused(screen), fields.first);
    fields.EndDialog(ui::CDialogScreen::kCancel);
  });
  fields.DoModal();
}

class FocusReturnTest : public uitest::ViewFixture {};

TEST_F(FocusReturnTest, TheViewGetsTheKeysBackAfterAProgressWindowAndAMessage) {
  AddBlog("annblog", "Ann", 2);
  Start(240, 320, 96);
  view_->setFocus();
  {
    ui::CProgressWnd progress(*screen_);
    ASSERT_TRUE(progress.Create(view_, 3, true));
    EXPECT_FALSE(frame_->isEnabled());
    ui::MessageBox::SetResponder(nullptr);  // the real box this time
    QTimer::singleShot(0, [] { QTest::keyClick(ui::PhoneMessageBox::Active(), Qt::Key_Return); });
    ui::MessageBox::Show("A connection to the Internet could not be made.", ui::MessageBox::Icon::Error);
    EXPECT_EQ(Focused(*screen_), &progress);
    progress.Destroy();
  }
  EXPECT_EQ(Focused(*screen_), view_);
  PressKey(Qt::Key_Return);  // selects the first row: the keys reach the view
  EXPECT_EQ(view_->Selected(), 0);
}

TEST_F(FocusReturnTest, TheFirstRowThatCoversACommandDecidesWhetherItRuns) {
  Start(240, 320, 96);
  app::CommandRouter router;
  std::vector<uint32_t> ran;
  router.Add({{10, 20, [](const ui::CommandContext&, uint32_t c) { return c != 15; },
               [&](const ui::CommandContext&, uint32_t c) { ran.push_back(c); }}});
  router.Add({ui::CommandRow::One(15, ui::acts::Always, [&](const ui::CommandContext&) { ran.push_back(99); })});
  const ui::CommandContext context = view_->Context();
  EXPECT_TRUE(router.Run(context, 12));
  EXPECT_FALSE(router.CanAct(context, 15));  // the range row refuses it; the later row is not asked
  EXPECT_FALSE(router.Run(context, 15));
  EXPECT_FALSE(router.Run(context, 21));
  EXPECT_EQ(ran, std::vector<uint32_t>{12});
}

}  // namespace
