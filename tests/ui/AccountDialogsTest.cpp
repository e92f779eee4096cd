#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "dialogs/account/CAccountInfoDlg.h"
#include "dialogs/account/CCreateAccountDlg.h"
#include "dialogs/account/CLoginInfoDlg.h"
#include "dialogs/account/CWelcomeDlg.h"
#include "model/CWinBlogStorage.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CommandIds.h"
#include "ui/PhoneScreen.h"
#include "ui/SoftKeyBar.h"

namespace {

namespace c = ui::commands;
using uitest::DialogDriver;

const QString kBadLogin =
    "Please enter a valid email address and password. The password must be at least 1 character in length and "
    "cannot contain spaces.";

class AccountDialogsTest : public uitest::ViewFixture {
 protected:
  // The account as it was stored, read back from the device.
  std::unique_ptr<model::CWinBlogUser> Reloaded() const {
    auto stored = std::make_unique<model::CWinBlogUser>();
    stored->LoadUser();
    return stored;
  }

  // A saved blog last synchronised at `lastSync`, then start-up. Start-up reads
  // the blog list anew from the device: the answer is the blog as it is now.
  model::CWinBlogStorage* StartWithBlog(uint32_t lastSync) {
    model::CWinBlogStorage* saved = AddBlog("annblog", "Ann", 0);
    if (!saved) return nullptr;
    saved->SetLastSync(lastSync);
    EXPECT_EQ(saved->Save(), 0u);
    Start(240, 320, 96);
    EXPECT_EQ(user_->Blogs().Count(), 1u);
    return user_->Blogs().Count() == 1 ? user_->Blogs().At(0) : nullptr;
  }

  static void Replace(QLineEdit* field, const QString& text) {
    field->clear();
    DialogDriver::Type(*field, text);
  }
};

TEST_F(AccountDialogsTest, AccountInfoLeftAloneChangesNothing) {
  model::CWinBlogStorage* blog = StartWithBlog(1234);
  ASSERT_NE(blog, nullptr);
  DialogDriver driver;
  QString shownPassword;
  bool rowHidden = false;
  driver.On<dialogs::CAccountInfoDlg>([&](dialogs::CAccountInfoDlg& dialog) {
    EXPECT_EQ(dialog.EmailField()->text(), "ann@example.com");
    shownPassword = dialog.PasswordField()->text();
    rowHidden = dialog.AccountLabel()->isHidden() && dialog.LevelLabel()->isHidden() && dialog.LimitLabel()->isHidden();
    EXPECT_EQ(screen_->Caption(), "Account Info");
    dialog.Bar()->PressLeft();
  });
  ASSERT_TRUE(frame_->CanAct(c::kAccountInfo));
  frame_->OnCommand(c::kAccountInfo);
  EXPECT_TRUE(driver.Done());
  // One star per character; the password itself is never in the field.
  EXPECT_EQ(shownPassword, "******");
  // No quota and no pro account: the account row is hidden.
  EXPECT_TRUE(rowHidden);
  EXPECT_EQ(user_->GetUserId(), 7u);
  EXPECT_EQ(blog->GetLastSync(), 1234u);
  EXPECT_TRUE(frame_->isEnabled());
  EXPECT_EQ(screen_->TopBar(), frame_->MenuBar());
}

TEST_F(AccountDialogsTest, AccountInfoTakesStarsOfTheSameLengthAsNoChange) {
  model::CWinBlogStorage* blog = StartWithBlog(99);
  ASSERT_NE(blog, nullptr);
  DialogDriver driver;
  driver.On<dialogs::CAccountInfoDlg>([](dialogs::CAccountInfoDlg& dialog) {
    Replace(dialog.PasswordField(), "******");
    dialog.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kAccountInfo);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(user_->GetPassword(), "secret");
  EXPECT_EQ(blog->GetLastSync(), 99u);
}

TEST_F(AccountDialogsTest, AccountInfoNewLoginMakesEveryNextSyncAFullOneAndIsKept) {
  model::CWinBlogStorage* blog = StartWithBlog(99);
  ASSERT_NE(blog, nullptr);
  DialogDriver driver;
  driver.On<dialogs::CAccountInfoDlg>([](dialogs::CAccountInfoDlg& dialog) {
    Replace(dialog.EmailField(), "ann.lee@example.com");
    // A password with a blank is fine here; only new accounts refuse it.
    Replace(dialog.PasswordField(), "new secret");
    dialog.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kAccountInfo);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(user_->GetEmail(), "ann.lee@example.com");
  EXPECT_EQ(user_->GetPassword(), "new secret");
  EXPECT_EQ(user_->GetUserId(), 0u);
  EXPECT_EQ(blog->GetLastSync(), 0u);
  auto stored = Reloaded();
  EXPECT_EQ(stored->GetEmail(), "ann.lee@example.com");
  EXPECT_EQ(stored->GetPassword(), "new secret");
  ASSERT_EQ(stored->Blogs().Count(), 1u);
  EXPECT_EQ(stored->Blogs().At(0)->GetLastSync(), 0u);
}

TEST_F(AccountDialogsTest, AccountInfoShowsTheAccountLevel) {
  Start(240, 320, 96);
  struct Case {
    uint16_t pro;
    uint32_t quota;
    QString level;
    QString limit;
  };
  for (const Case& level : {Case{1, 0, "Pro Account", "Unlimited Photos"}, Case{0, 100, "Trial", "100 photos max"}}) {
    user_->SetProAccount(level.pro);
    user_->SetQuota(level.quota);
    DialogDriver driver;
    driver.On<dialogs::CAccountInfoDlg>([&](dialogs::CAccountInfoDlg& dialog) {
      EXPECT_FALSE(dialog.AccountLabel()->isHidden());
      EXPECT_EQ(dialog.AccountLabel()->text(), "Account:");
      EXPECT_EQ(dialog.LevelLabel()->text(), level.level);
      EXPECT_EQ(dialog.LimitLabel()->text(), level.limit);
      dialog.Bar()->PressRight();
    });
    frame_->OnCommand(c::kAccountInfo);
    EXPECT_TRUE(driver.Done());
  }
}

TEST_F(AccountDialogsTest, AccountInfoRefusesAnEmptyAddressAndStaysOpen) {
  Start(240, 320, 96);
  DialogDriver driver;
  bool stillOpen = false;
  driver.On<dialogs::CAccountInfoDlg>([](dialogs::CAccountInfoDlg& dialog) {
    dialog.EmailField()->clear();
    dialog.Bar()->PressLeft();
  });
  driver.On<dialogs::CAccountInfoDlg>([&](dialogs::CAccountInfoDlg& dialog) {
    stillOpen = dialog.IsRunning();
    dialog.Bar()->PressRight();
  });
  frame_->OnCommand(c::kAccountInfo);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(driver.Messages().size(), 1u);
  EXPECT_EQ(driver.Messages()[0].text, kBadLogin);
  EXPECT_EQ(driver.Messages()[0].icon, ui::MessageBox::Icon::Exclamation);
  EXPECT_EQ(user_->GetEmail(), "ann@example.com");
}

TEST_F(AccountDialogsTest, FieldsStopAtTheirLimitsAndBackDeletesButNeverCloses) {
  Start(240, 320, 96);
  DialogDriver driver;
  QString typed;
  QString afterBack;
  bool open = false;
  driver.On<dialogs::CAccountInfoDlg>([&](dialogs::CAccountInfoDlg& dialog) {
    Replace(dialog.EmailField(), QString(70, 'a'));
    typed = dialog.EmailField()->text();
    QTest::keyClick(dialog.EmailField(), Qt::Key_Escape);
    QTest::keyClick(dialog.EmailField(), Qt::Key_Escape);
    afterBack = dialog.EmailField()->text();
    open = dialog.IsRunning() && dialog.isVisible();
    dialog.Bar()->PressRight();
  });
  frame_->OnCommand(c::kAccountInfo);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(typed.size(), 63);
  EXPECT_EQ(afterBack.size(), 61);
  EXPECT_TRUE(open);
  // Cancel keeps the stored login.
  EXPECT_EQ(user_->GetEmail(), "ann@example.com");
}

TEST_F(AccountDialogsTest, SubscribeAndCreateBlogRunTheWelcomeWithoutALogin) {
  Start(240, 320, 96);
  user_->SetPassword("");
  EXPECT_TRUE(frame_->CanAct(c::kSubscribe));
  EXPECT_TRUE(frame_->CanAct(c::kCreateBlog));
  DialogDriver driver;
  driver.On<dialogs::CWelcomeDlg>([](dialogs::CWelcomeDlg& welcome) {
    EXPECT_TRUE(welcome.CreateButton()->isChecked());
    EXPECT_EQ(welcome.Bar()->LeftLabel(), "Next");
    welcome.Bar()->PressRight();
  });
  frame_->OnCommand(c::kCreateBlog);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(driver.Screens(), std::vector<QString>{"Tessary"});
}

TEST_F(AccountDialogsTest, LoginInfoNeedsAnAddressThenStoresTheLoginAsNew) {
  Start(240, 320, 96);
  DialogDriver driver;
  driver.On<dialogs::CLoginInfoDlg>([](dialogs::CLoginInfoDlg& dialog) {
    EXPECT_EQ(dialog.Title(), "Enter Login Info");
    dialog.Bar()->PressLeft();  // nothing typed
  });
  driver.On<dialogs::CLoginInfoDlg>([](dialogs::CLoginInfoDlg& dialog) {
    // No other check here: a short address and a blank in the password pass.
    DialogDriver::Type(*dialog.EmailField(), "b@c.d");
    DialogDriver::Type(*dialog.PasswordField(), "two words");
    QTest::keyClick(dialog.PasswordField(), Qt::Key_Return);  // Enter acts as Next
  });
  dialogs::CLoginInfoDlg dialog(*screen_, view_, *user_);
  EXPECT_EQ(dialog.DoModal(), ui::CDialogScreen::kOk);
  EXPECT_TRUE(driver.Done());
  ASSERT_EQ(driver.MessageTexts(), std::vector<QString>{kBadLogin});
  EXPECT_EQ(user_->GetEmail(), "b@c.d");
  EXPECT_EQ(user_->GetPassword(), "two words");
  EXPECT_TRUE(user_->credentialsChanged);
}

TEST_F(AccountDialogsTest, WizardChecksEachStepBeforeItMovesOn) {
  Start(240, 320, 96);
  DialogDriver driver;
  std::vector<bool> shown;
  auto attempt = [&](const QString& email, const QString& password) {
    driver.On<dialogs::CCreateAccountDlg>([=](dialogs::CCreateAccountDlg& wizard) {
      Replace(wizard.EmailField(), email);
      Replace(wizard.PasswordField(), password);
      wizard.Bar()->PressLeft();
    });
  };
  attempt("a@b.cd", "pw");            // six characters
  attempt("first.last@host", "pw");  // the only dot before the "@"
  attempt("a@b.cde", "p w");         // a blank in the password
  attempt("a@b.cde", "");
  attempt("a@b.cde", "pw");
  driver.On<dialogs::CCreateAccountDlg>([&](dialogs::CCreateAccountDlg& wizard) {
    EXPECT_EQ(wizard.CurrentStep(), dialogs::CCreateAccountDlg::Step::Name);
    // Exactly one group shows, and hidden groups take no input.
    for (auto step : {dialogs::CCreateAccountDlg::Step::Login, dialogs::CCreateAccountDlg::Step::Name, dialogs::CCreateAccountDlg::Step::Blog}) {
      QWidget* group = wizard.StepGroup(step);
      shown.push_back(group->isVisible());
      EXPECT_EQ(group->isEnabled(), group->isVisible());
    }
    EXPECT_TRUE(wizard.FirstNameField()->hasFocus());
    DialogDriver::Type(*wizard.FirstNameField(), "Bob");
    wizard.Bar()->PressLeft();  // no last name
  });
  driver.On<dialogs::CCreateAccountDlg>([](dialogs::CCreateAccountDlg& wizard) {
    EXPECT_EQ(wizard.CurrentStep(), dialogs::CCreateAccountDlg::Step::Name);
    wizard.Bar()->PressRight();
  });
  dialogs::CCreateAccountDlg wizard(*screen_, view_, *user_);
  EXPECT_EQ(wizard.DoModal(), ui::CDialogScreen::kCancel);
  EXPECT_TRUE(driver.Done());
  EXPECT_FALSE(wizard.BlogCreated());
  EXPECT_EQ(shown, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(driver.MessageTexts(), (std::vector<QString>{kBadLogin, kBadLogin, kBadLogin, kBadLogin,
                                                         "You must enter your first and last name."}));
  EXPECT_EQ(user_->GetEmail(), "ann@example.com");
}

TEST_F(AccountDialogsTest, ScreensFillTheWorkAreaAtBothScaleFactors) {
  struct Size {
    int width, height, dpi;
  };
  for (Size size : {Size{240, 320, 96}, Size{480, 640, 192}}) {
    Start(size.width, size.height, size.dpi);
    const std::string suffix = "-" + std::to_string(size.width) + "x" + std::to_string(size.height);
    DialogDriver driver;
    auto shoot = [&](ui::CDialogScreen& dialog, const std::string& name) {
      EXPECT_EQ(dialog.geometry(), screen_->WorkRect());
      EXPECT_EQ(screen_->TopBar(), dialog.Bar());
      EXPECT_FALSE(frame_->isEnabled());
      SaveScreenshot(name + suffix);
      dialog.Bar()->PressRight();
    };
    driver.On<dialogs::CWelcomeDlg>([&](dialogs::CWelcomeDlg& dialog) { shoot(dialog, "welcome"); });
    driver.On<dialogs::CCreateAccountDlg>([&](dialogs::CCreateAccountDlg& dialog) {
      DialogDriver::Type(*dialog.EmailField(), "bob@example.com");
      DialogDriver::Type(*dialog.PasswordField(), "pw1");
      shoot(dialog, "create-account");
    });
    driver.On<dialogs::CAccountInfoDlg>([&](dialogs::CAccountInfoDlg& dialog) { shoot(dialog, "account-info"); });
    {
      // Screens are children of the display; they go before it does.
      dialogs::CWelcomeDlg welcome(*screen_, view_);
      EXPECT_EQ(welcome.DoModal(), ui::CDialogScreen::kCancel);
      dialogs::CCreateAccountDlg wizard(*screen_, view_, *user_);
      EXPECT_EQ(wizard.DoModal(), ui::CDialogScreen::kCancel);
    }
    user_->SetQuota(100);
    frame_->OnCommand(c::kAccountInfo);
    EXPECT_TRUE(driver.Done());
    EXPECT_TRUE(frame_->isEnabled());
    screen_.reset();
  }
}

}  // namespace
