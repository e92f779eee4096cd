#ifdef TESSARY_UI_WITH_SERVICE

#include <QTest>
#include <fstream>
#include <sstream>
#include <QTimer>

#include "model/CWinBlogStorage.h"
#include "model/UserInterface.h"
#include "server/AdminCommands.h"
#include "service/ServiceSettings.h"
#include "tests/server/ServiceHarness.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CProgressWnd.h"
#include "ui/CommandIds.h"
#include "ui/MessageBox.h"
#include "ui/SoftKeyBar.h"

namespace {

class SyncCommandTest : public uitest::ViewFixture {
 protected:
  SyncCommandTest() {
    service_.AddUser("ann@example.com", "secret", "Ann", "Lee");
    service_.AddBlog("annblog", "ann@example.com");
    service::ServiceSettings& settings = service::ServiceSettings::Current();
    saved_ = settings;
    settings.host = "127.0.0.1";
    settings.numericAddress = "127.0.0.1";
    settings.port = static_cast<uint16_t>(service_.Port());
  }
  ~SyncCommandTest() override { service::ServiceSettings::Current() = saved_; }

  servertest::ServiceHarness service_;
  service::ServiceSettings saved_;
};

TEST_F(SyncCommandTest, HomeSyncBringsTheAccountsBlogsUnderTheProgressWindow) {
  Start(240, 320, 96);
  ASSERT_EQ(view_->GetItemCount(), 0);
  testsupport::ScriptedUserInterface ui;
  ui.ExpectQuestion("Do you want to subscribe to the blog 'annblog'?", true)
      .ExpectNewSubscription()
      .ExpectQuestion("You have one or more new subscriptions. Do you want to download the entries now?", true);
  bool progressSeen = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (screen_->TopBar() && screen_->TopBar()->ResourceId() == 201) progressSeen = !frame_->isEnabled();
  });
  probe.start(1);
  frame_->OnCommand(ui::commands::kSyncHome);
  probe.stop();
  EXPECT_TRUE(ui.Done());
  EXPECT_TRUE(progressSeen);
  EXPECT_TRUE(frame_->isEnabled());
  EXPECT_EQ(screen_->TopBar(), frame_->MenuBar());
  ASSERT_EQ(user_->Blogs().Count(), 1u);
  EXPECT_EQ(user_->Blogs().At(0)->Info().urlName, "annblog");
  EXPECT_EQ(view_->GetItemCount(), 1);
}

TEST_F(SyncCommandTest, CancelEndsTheSyncAndGivesTheWindowBack) {
  Start(240, 320, 96);
  // The sync stops at its first look at Cancel and says so; a sync that went on
  // would ask to subscribe, which the script does not expect.
  testsupport::ScriptedUserInterface ui;
  ui.ExpectMessage("Sync Cancelled.", model::MessageIcon::Information);
  // Cancel is pressed as soon as the progress window pumps events.
  QTimer cancel;
  QObject::connect(&cancel, &QTimer::timeout, [&] {
    ui::SoftKeyBar* bar = screen_->TopBar();
    if (bar && bar->ResourceId() == 201) bar->PressLeft();
  });
  cancel.start(0);
  frame_->OnCommand(ui::commands::kSyncHome);
  cancel.stop();
  EXPECT_TRUE(ui.Done());
  EXPECT_EQ(user_->Blogs().Count(), 0u);
  EXPECT_TRUE(frame_->isEnabled());
  EXPECT_EQ(screen_->TopBar(), frame_->MenuBar());
  EXPECT_EQ(screen_->Caption(), "Tessary");
}

TEST_F(SyncCommandTest, NewCredentialsSyncEverythingBeforeTheFirstShow) {
  user_->credentialsChanged = true;
  testsupport::ScriptedUserInterface ui;
  ui.ExpectQuestion("Do you want to subscribe to the blog 'annblog'?", true)
      .ExpectNewSubscription()
      .ExpectQuestion("You have one or more new subscriptions. Do you want to download the entries now?", true);
  Start(240, 320, 96);
  EXPECT_TRUE(ui.Done());
  EXPECT_EQ(view_->GetItemCount(), 1);
  EXPECT_TRUE(frame_->isEnabled());
}

TEST_F(SyncCommandTest, CheckForUpdatesSaysWhenThisIsTheLatestVersion) {
  const std::filesystem::path file = service_.DataDir() / "version.txt";
  std::ofstream(file) << "<VERS>1.0</VERS>";
  std::ostringstream out, err;
  ASSERT_EQ(server::AdminCommands(service_.DataDir(), out, err).SetPublishedFile("Tessary.txt", file), 0)
      << err.str();
  Start(240, 320, 96);
  testsupport::ScriptedUserInterface core;
  std::vector<ui::MessageBox::Request> shown;
  ui::MessageBox::SetResponder([&](const ui::MessageBox::Request& r) {
    shown.push_back(r);
    return int(ui::MessageBox::kOk);
  });
  frame_->OnCommand(ui::commands::kCheckForUpdates);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "You have the latest version of Tessary.");
  EXPECT_EQ(shown[0].icon, ui::MessageBox::Icon::Information);
  EXPECT_TRUE(frame_->isEnabled());
}

}  // namespace

#endif
