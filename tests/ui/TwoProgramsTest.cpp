#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>
#include <QTimer>
#include <filesystem>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/DeviceLock.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CChildView.h"
#include "ui/CProgressWnd.h"
#include "ui/CommandIds.h"

namespace {

// The phone window and tessary-cli on one device root: what one saves, the
// other keeps; while one holds the device root, the other waits and says so.
class TwoProgramsTest : public uitest::ViewFixture {
 protected:
  int Cli(const QStringList& arguments) {
    QProcess cli;
    cli.start(TESSARY_CLI_PATH, QStringList{"--device-root", QString::fromStdString(root_.HostRoot().string())} +
                                    arguments);
    if (!cli.waitForFinished(30000)) return -1;
    return cli.exitCode();
  }

  size_t EntriesOnDevice(const std::string& urlName) {
    model::CWinBlogUser stored;
    stored.LoadUser();
    model::CWinBlogStorage* blog = stored.FindBlog(u"annblog");
    return blog && blog->Info().urlName == urlName ? blog->Entries().Count() : 0;
  }
};

TEST_F(TwoProgramsTest, AnEntryTheCliAddedSurvivesTheWindowsNextSave) {
  AddBlog("annblog", "Ann", 2);
  Start(240, 320, 96);
  PressKey(Qt::Key_Return);
  PressKey(Qt::Key_Return);  // into the blog
  ASSERT_FALSE(view_->InHomeView());
  ASSERT_EQ(view_->GetItemCount(), 2);
  const std::string photo = WritePhoto("added.jpg", 64, 48, 9);
  ASSERT_EQ(Cli({"add", "annblog", QString::fromStdString(photo), "--title", "From the CLI"}), 0);
  // The filter is saved with the blog: the window reads the CLI's change first.
  frame_->OnCommand(ui::commands::kShowPending);
  EXPECT_EQ(EntriesOnDevice("annblog"), 3u);
  EXPECT_EQ(view_->GetItemCount(), 3);  // the window shows the CLI's entry too
  EXPECT_EQ(view_->CurrentBlog()->GetShowFilter(), model::kShowPending);
}

TEST_F(TwoProgramsTest, ACommandWaitsWhileAnotherProgramHoldsTheDeviceAndSaysSo) {
  AddBlog("annblog", "Ann", 1);
  Start(240, 320, 96);
  // Another program: flock(1) holds the lock file for a moment.
  const QString lock = QString::fromStdString((root_.HostRoot() / platform::DeviceLock::kFileName).string());
  QProcess other;
  other.start("flock", {lock, "sleep", "1.5"});
  ASSERT_TRUE(other.waitForStarted());
  QThread::msleep(300);
  QString waiting;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    for (auto* progress : screen_->findChildren<ui::CProgressWnd*>()) {
      if (progress->isVisible() && !progress->Line(1).isEmpty()) waiting = progress->Line(1);
    }
  });
  probe.start(20);
  PressKey(Qt::Key_Return);
  PressKey(Qt::Key_Return);  // entering a blog waits for the lock
  probe.stop();
  other.waitForFinished();
  EXPECT_EQ(waiting, "Waiting for another Tessary program...");
  EXPECT_FALSE(view_->InHomeView());
}

}  // namespace
