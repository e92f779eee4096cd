#include <gtest/gtest.h>

#include <QTest>

#include "app/CMainFrame.h"
#include "app/CTessaryWinCEApp.h"
#include "dialogs/account/CWelcomeDlg.h"
#include "model/CWinBlogUser.h"
#include "platform/DeviceFacts.h"
#include "tests/support/TempDeviceRoot.h"
#include "tests/ui/DialogDriver.h"
#include "ui/CChildView.h"
#include "ui/MessageBox.h"
#include "ui/PhoneScreen.h"
#include "ui/PhoneMenu.h"
#include "ui/PhoneWindow.h"
#include "ui/SoftKeyBar.h"

namespace {

class AppStartupTest : public testing::Test {
 protected:
  AppStartupTest() : saved_(platform::DeviceFacts::Current()) {}
  ~AppStartupTest() override { platform::DeviceFacts::Current() = saved_; }

  // A first run without an account: the welcome screen comes first; cancelling
  // it leaves the sample blog.
  void CancelWelcome() {
    driver_.On<dialogs::CWelcomeDlg>([](dialogs::CWelcomeDlg& welcome) { welcome.Bar()->PressRight(); });
  }

  bool Parse(app::CTessaryWinCEApp& app, std::vector<std::string> extra) {
    std::string message;
    std::vector<std::string> args{"tessary", "--device-root", root_.HostRoot().string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return app.ParseCommandLine(args, message) == app::AppOptions::Outcome::Run;
  }

  testsupport::TempDeviceRoot root_;
  platform::DeviceFacts saved_;
  uitest::DialogDriver driver_;
};

TEST_F(AppStartupTest, ScreenZoomAndFrameFollowTheDeviceFacts) {
  app::CTessaryWinCEApp app;
  ASSERT_TRUE(Parse(app, {"--screen", "480x640@192", "--zoom", "2"}));
  CancelWelcome();
  ASSERT_TRUE(app.InitInstance());
  EXPECT_TRUE(driver_.Done());
  ASSERT_NE(app.Window(), nullptr);
  EXPECT_EQ(app.Window()->Screen()->size(), QSize(480, 640));
  EXPECT_EQ(app.Window()->size(), QSize(480, 640) * app.Window()->Zoom());
  // 192 dpi: the frame starts 40 pixels down and ends where the bar begins.
  EXPECT_EQ(app.Frame()->geometry().top(), 40);
  EXPECT_EQ(app.Frame()->geometry().bottom() + 1, app.Frame()->MenuBar()->geometry().top());
  // Without an account, and the welcome cancelled, the sample blog fills the
  // home view.
  EXPECT_EQ(app.Frame()->View()->GetItemCount(), 1);
  EXPECT_EQ(driver_.Screens(), std::vector<QString>{"Tessary"});
  EXPECT_TRUE(driver_.Messages().empty());
}

TEST_F(AppStartupTest, SoftKeysWorkThroughTheMagnifiedWindow) {
  app::CTessaryWinCEApp app;
  ASSERT_TRUE(Parse(app, {"--screen", "120x160@48", "--zoom", "3"}));
  CancelWelcome();
  ASSERT_TRUE(app.InitInstance());
  ui::PhoneWindow* window = app.Window();
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QTest::keyClick(window, Qt::Key_Return);  // select the sample blog
  QTest::keyClick(window, Qt::Key_Return);  // and enter it
  EXPECT_FALSE(app.Frame()->View()->InHomeView());
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_TRUE(app.Frame()->View()->InHomeView());
  QTest::keyClick(window, Qt::Key_F2);
  ui::PhoneMenu* tools = app.Frame()->MenuBar()->OpenMenu();
  ASSERT_NE(tools, nullptr);
  EXPECT_TRUE(tools->isVisible());
  EXPECT_TRUE(app.Window()->Screen()->rect().contains(tools->geometry()));
  tools->Dismiss();
}

TEST_F(AppStartupTest, WrongDeviceTypeShowsTheReinstallMessageAndNoWindow) {
  app::CTessaryWinCEApp app;
  ASSERT_TRUE(Parse(app, {}));
  platform::DeviceFacts::Current().type = platform::DeviceType::PocketPC;
  EXPECT_TRUE(app.InitInstance());
  EXPECT_EQ(app.Window(), nullptr);
  EXPECT_EQ(app.Run(), 0);
  ASSERT_EQ(driver_.Messages().size(), 1u);
  EXPECT_TRUE(driver_.Messages()[0].text.startsWith("You have incorrectly installed the Smartphone version"));
  EXPECT_EQ(driver_.Messages()[0].icon, ui::MessageBox::Icon::Error);
}

TEST_F(AppStartupTest, FailedSocketStartUpEndsTheProgram) {
  app::CTessaryWinCEApp app;
  ASSERT_TRUE(Parse(app, {}));
  platform::DeviceFacts::Current().socketsStart = false;
  EXPECT_FALSE(app.InitInstance());
  ASSERT_EQ(driver_.Messages().size(), 1u);
  EXPECT_EQ(driver_.Messages()[0].text, "Windows socket initialization failed");
  EXPECT_EQ(driver_.Messages()[0].icon, ui::MessageBox::Icon::Exclamation);
}

TEST_F(AppStartupTest, MalformedOptionsAreRefused) {
  app::CTessaryWinCEApp app;
  EXPECT_FALSE(Parse(app, {"--zoom", "7"}));
  EXPECT_FALSE(Parse(app, {"--screen", "wide"}));
  EXPECT_FALSE(Parse(app, {"--service", "host:notaport"}));
}

}  // namespace
