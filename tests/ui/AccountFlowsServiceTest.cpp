#ifdef TESSARY_UI_WITH_SERVICE

#include <QLineEdit>
#include <QRadioButton>

#include "dialogs/account/CCreateAccountDlg.h"
#include "dialogs/account/CLoginInfoDlg.h"
#include "dialogs/account/CWelcomeDlg.h"
#include "dialogs/blogs/CBlogPrefsDlg.h"
#include "model/CWinBlogStorage.h"
#include "service/ServiceSettings.h"
#include "tests/server/ServiceHarness.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CommandIds.h"
#include "ui/SoftKeyBar.h"

namespace {

using Step = dialogs::CCreateAccountDlg::Step;
using uitest::DialogDriver;

// The account screens against a real tessary-service, for a device that has no
// login yet.
class AccountFlowsServiceTest : public uitest::ViewFixture {
 protected:
  AccountFlowsServiceTest() {
    service::ServiceSettings& settings = service::ServiceSettings::Current();
    saved_ = settings;
    settings.host = "127.0.0.1";
    settings.numericAddress = "127.0.0.1";
    settings.port = static_cast<uint16_t>(service_.Port());
    user_->SetEmail("");
    user_->SetPassword("");
    user_->SetUserId(0);
    user_->SaveUser();
  }
  ~AccountFlowsServiceTest() override { service::ServiceSettings::Current() = saved_; }

  std::unique_ptr<model::CWinBlogUser> Reloaded() const {
    auto stored = std::make_unique<model::CWinBlogUser>();
    stored->LoadUser();
    return stored;
  }

  void ChooseCreateAccount() {
    driver_.On<dialogs::CWelcomeDlg>([](dialogs::CWelcomeDlg& welcome) { welcome.Bar()->PressLeft(); });
  }
  void ChooseLogin(const QString& email, const QString& password) {
    driver_.On<dialogs::CWelcomeDlg>([](dialogs::CWelcomeDlg& welcome) {
      welcome.LoginButton()->setChecked(true);
      welcome.Bar()->PressLeft();
    });
    driver_.On<dialogs::CLoginInfoDlg>([=](dialogs::CLoginInfoDlg& login) {
      DialogDriver::Type(*login.EmailField(), email);
      DialogDriver::Type(*login.PasswordField(), password);
      login.Bar()->PressLeft();
    });
  }
  // The sync settings of a subscription the service offers, taken as shown.
  void KeepOfferedSettings() {
    driver_.On<dialogs::CBlogPrefsDlg>([](dialogs::CBlogPrefsDlg& prefs) { prefs.Bar()->PressLeft(); });
  }
  void EnterLogin(const QString& email, const QString& password) {
    driver_.On<dialogs::CCreateAccountDlg>([=](dialogs::CCreateAccountDlg& wizard) {
      wizard.EmailField()->clear();
      DialogDriver::Type(*wizard.EmailField(), email);
      wizard.PasswordField()->clear();
      DialogDriver::Type(*wizard.PasswordField(), password);
      wizard.Bar()->PressLeft();
    });
  }
  void EnterName(const QString& first, const QString& last) {
    driver_.On<dialogs::CCreateAccountDlg>([=](dialogs::CCreateAccountDlg& wizard) {
      EXPECT_EQ(wizard.CurrentStep(), Step::Name);
      wizard.FirstNameField()->setText(first);
      wizard.LastNameField()->setText(last);
      wizard.Bar()->PressLeft();
    });
  }
  void EnterBlogUrl(const QString& url) {
    driver_.On<dialogs::CCreateAccountDlg>([=](dialogs::CCreateAccountDlg& wizard) {
      EXPECT_EQ(wizard.CurrentStep(), Step::Blog);
      wizard.BlogUrlField()->setText(url);
      wizard.Bar()->PressLeft();
    });
  }

  servertest::ServiceHarness service_;
  service::ServiceSettings saved_;
  DialogDriver driver_;
};

TEST_F(AccountFlowsServiceTest, FirstRunCreatesTheAccountAndItsFirstBlog) {
  ChooseCreateAccount();
  EnterLogin("bob@example.com", "pw1");
  EnterName("Bob", "Stone");
  QString presetTitle;
  QString presetSubtitle;
  driver_.On<dialogs::CCreateAccountDlg>([&](dialogs::CCreateAccountDlg& wizard) {
    presetTitle = wizard.TitleField()->text();
    presetSubtitle = wizard.SubtitleField()->text();
    EXPECT_TRUE(wizard.BlogUrlField()->hasFocus());
    wizard.BlogUrlField()->setText("bob.blog");
    wizard.Bar()->PressLeft();
  });
  EnterBlogUrl("bobblog");
  Start(240, 320, 96);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(driver_.MessageTexts(),
            std::vector<QString>{"A Blog URL can only contain alphanumeric characters or '_' and '-'."});
  EXPECT_EQ(presetTitle, "Bob's PhotoBlog");
  EXPECT_EQ(presetSubtitle, "Pictures from my camera phone");
  // The new blog, and no sample blog, is what the home view shows.
  ASSERT_EQ(user_->Blogs().Count(), 1u);
  EXPECT_EQ(user_->Blogs().At(0)->Info().urlName, "bobblog");
  EXPECT_EQ(user_->Blogs().At(0)->Info().title, "Bob's PhotoBlog");
  EXPECT_EQ(view_->GetItemCount(), 1);
  // The account check after the blog brought the account's id.
  EXPECT_NE(user_->GetUserId(), 0u);
  auto stored = Reloaded();
  EXPECT_EQ(stored->GetEmail(), "bob@example.com");
  EXPECT_EQ(stored->GetPassword(), "pw1");
  ASSERT_EQ(stored->Blogs().Count(), 1u);
  EXPECT_EQ(stored->Blogs().At(0)->Info().urlName, "bobblog");
}

TEST_F(AccountFlowsServiceTest, AnAddressInUseCanBeRetypedOrTakenAsTheLogin) {
  service_.AddUser("ann@example.com", "secret", "Ann", "Lee");
  ChooseCreateAccount();
  EnterLogin("ann@example.com", "secret");
  EnterName("Ann", "Lee");
  QString firstKept;
  QString lastKept;
  driver_.Answer(ui::MessageBox::kNo);
  driver_.On<dialogs::CCreateAccountDlg>([&](dialogs::CCreateAccountDlg& wizard) {
    // "No" goes back to step 1; the names stay in their hidden fields.
    EXPECT_EQ(wizard.CurrentStep(), Step::Login);
    EXPECT_TRUE(wizard.EmailField()->hasFocus());
    firstKept = wizard.FirstNameField()->text();
    lastKept = wizard.LastNameField()->text();
    wizard.Bar()->PressLeft();
  });
  driver_.Answer(ui::MessageBox::kYes);
  driver_.On<dialogs::CCreateAccountDlg>([&](dialogs::CCreateAccountDlg& wizard) {
    EXPECT_EQ(wizard.CurrentStep(), Step::Name);
    wizard.Bar()->PressLeft();
  });
  Start(240, 320, 96);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(firstKept, "Ann");
  EXPECT_EQ(lastKept, "Lee");
  const QString question = "\"ann@example.com\" already has a Tessary account.  Would you like to subscribe to it?";
  EXPECT_EQ(driver_.MessageTexts(), (std::vector<QString>{question, question}));
  EXPECT_TRUE(driver_.Messages()[0].yesNo);
  // Yes takes the login as the user's own, kept at once.
  EXPECT_EQ(user_->GetEmail(), "ann@example.com");
  EXPECT_EQ(Reloaded()->GetPassword(), "secret");
  // The new login synced before the first show, which brought the account's id.
  EXPECT_NE(user_->GetUserId(), 0u);
}

TEST_F(AccountFlowsServiceTest, ABlogUrlInUseOffersOthersAndStaysOnTheStep) {
  service_.AddUser("cara@example.com", "pw", "Cara", "Diaz");
  service_.AddBlog("taken", "cara@example.com");
  ChooseCreateAccount();
  EnterLogin("bob@example.com", "pw1");
  EnterName("Bob", "Stone");
  EnterBlogUrl("taken");
  EnterBlogUrl("bobsown");
  Start(240, 320, 96);
  EXPECT_TRUE(driver_.Done());
  ASSERT_EQ(driver_.Messages().size(), 1u);
  const QString text = driver_.Messages()[0].text;
  EXPECT_TRUE(text.startsWith("The Blog URL \"taken\"  is already in use.  Please try another one.  The following "
                              "Blog URLs are available:\n"))
      << text.toStdString();
  EXPECT_EQ(text.count('\n'), 2);
  EXPECT_EQ(driver_.Messages()[0].icon, ui::MessageBox::Icon::Exclamation);
  ASSERT_EQ(user_->Blogs().Count(), 1u);
  EXPECT_EQ(user_->Blogs().At(0)->Info().urlName, "bobsown");
}

TEST_F(AccountFlowsServiceTest, AWizardLeftWithoutAnAccountLeavesNoLoginBehind) {
  service_.AddUser("ann@example.com", "secret");
  ChooseCreateAccount();
  EnterLogin("ann@example.com", "guess");
  EnterName("Ann", "Lee");
  driver_.Answer(ui::MessageBox::kNo);
  driver_.On<dialogs::CCreateAccountDlg>([](dialogs::CCreateAccountDlg& wizard) { wizard.Bar()->PressRight(); });
  Start(240, 320, 96);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(user_->GetEmail(), "");
  EXPECT_EQ(user_->GetPassword(), "");
  // Without a login the sample blog fills the home view.
  ASSERT_EQ(user_->Blogs().Count(), 1u);
  EXPECT_EQ(view_->GetItemCount(), 1);
}

TEST_F(AccountFlowsServiceTest, LoginAtStartUpSyncsBeforeTheFirstShow) {
  service_.AddUser("ann@example.com", "secret", "Ann", "Lee");
  service_.AddBlog("annblog", "ann@example.com");
  ChooseLogin("ann@example.com", "secret");
  KeepOfferedSettings();
  driver_.Answer(ui::MessageBox::kYes);  // subscribe to annblog
  driver_.Answer(ui::MessageBox::kYes);  // and download it now
  Start(240, 320, 96);
  EXPECT_TRUE(driver_.Done());
  ASSERT_EQ(user_->Blogs().Count(), 1u);
  EXPECT_EQ(user_->Blogs().At(0)->Info().urlName, "annblog");
  EXPECT_EQ(view_->GetItemCount(), 1);
  EXPECT_EQ(Reloaded()->GetEmail(), "ann@example.com");
}

TEST_F(AccountFlowsServiceTest, SubscribeWithoutALoginLogsInSyncsAndRedraws) {
  service_.AddUser("ann@example.com", "secret", "Ann", "Lee");
  service_.AddBlog("annblog", "ann@example.com");
  driver_.On<dialogs::CWelcomeDlg>([](dialogs::CWelcomeDlg& welcome) { welcome.Bar()->PressRight(); });
  Start(240, 320, 96);
  ASSERT_EQ(view_->GetItemCount(), 1);  // the sample blog
  ChooseLogin("ann@example.com", "secret");
  KeepOfferedSettings();
  driver_.Answer(ui::MessageBox::kYes).Answer(ui::MessageBox::kYes);
  ASSERT_TRUE(frame_->CanAct(ui::commands::kSubscribe));
  frame_->OnCommand(ui::commands::kSubscribe);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(user_->Blogs().Count(), 2u);
  EXPECT_EQ(view_->GetItemCount(), 2);
  EXPECT_TRUE(frame_->isEnabled());
}

}  // namespace

#endif
