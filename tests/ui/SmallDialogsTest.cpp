#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

#include "dialogs/prefs/CAboutDlg.h"
#include "dialogs/prefs/CChooseFontDlg.h"
#include "dialogs/prefs/CNewVersionDlg.h"
#include "model/CWinBlogStorage.h"
#include "platform/DeviceFacts.h"
#include "platform/FontChoice.h"
#include "platform/Preferences.h"
#include "service/VersionCheck.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CChildView.h"
#include "ui/CommandIds.h"
#include "ui/SoftKeyBar.h"
#include "ui/SpinList.h"

namespace {

namespace c = ui::commands;
using dialogs::CChooseFontDlg;
using uitest::DialogDriver;

// Takes the addresses handed to the desktop instead of a browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open"); }
  ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }

  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened << url; }
};

class SmallDialogsTest : public uitest::ViewFixture {
 protected:
  SmallDialogsTest() : savedFacts_(platform::DeviceFacts::Current()) {}
  ~SmallDialogsTest() override { platform::DeviceFacts::Current() = savedFacts_; }

  platform::DeviceFacts savedFacts_;
  DialogDriver driver_;
};

TEST_F(SmallDialogsTest, ChooseFontOpensOnTheViewsFontAndWritesTheChoiceInPixelsOfTheDisplay) {
  Start(240, 320, 96);
  QString face;
  QString size;
  driver_.On<CChooseFontDlg>([&](CChooseFontDlg& dialog) {
    face = dialog.FontList()->currentText();
    size = dialog.SizeList()->currentText();
    EXPECT_EQ(dialog.focusWidget(), dialog.FontList());
    dialog.SizeList()->SelectData(11);
    dialog.BoldBox()->setChecked(true);
    dialog.UnderlineBox()->setChecked(true);
    dialog.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kFont);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(face, view_->RegularFont().family());
  EXPECT_EQ(size, "9");  // the phone's 12-pixel text at 96 dpi
  platform::LogFont stored;
  ASSERT_TRUE(platform::ReadMainViewFont(stored));
  EXPECT_EQ(stored.height, -15);
  EXPECT_EQ(stored.weight, 700);
  EXPECT_EQ(stored.underline, 1);
  EXPECT_EQ(QString::fromStdU16String(stored.faceName), face);
  // The entry list redraws with it.
  EXPECT_EQ(view_->RegularFont().pixelSize(), 15);
  EXPECT_TRUE(view_->RegularFont().bold());
  EXPECT_TRUE(view_->RegularFont().underline());
}

TEST_F(SmallDialogsTest, AtTwiceTheDpiASizeNotListedOpensOnTenAndKeepsTheOtherFields) {
  platform::LogFont font;
  font.faceName = u"No Such Family";
  font.height = platform::FontChoice::HeightFromPoints(14, 192);
  font.charSet = 2;
  font.quality = 5;
  platform::WriteMainViewFont(font);
  platform::DeviceFacts::Current().dpi = 192;
  Start(480, 640, 192);
  driver_.On<CChooseFontDlg>([](CChooseFontDlg& dialog) {
    EXPECT_EQ(dialog.SizeList()->currentText(), "10");
    EXPECT_EQ(dialog.FontList()->currentIndex(), 0);
    EXPECT_TRUE(dialog.ClearTypeBox()->isChecked());
    dialog.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kFont);
  EXPECT_TRUE(driver_.Done());
  platform::LogFont stored;
  ASSERT_TRUE(platform::ReadMainViewFont(stored));
  EXPECT_EQ(stored.height, -27);
  EXPECT_EQ(stored.charSet, 2);
  EXPECT_EQ(stored.weight, 400);
  EXPECT_NE(stored.faceName, u"No Such Family");
}

TEST_F(SmallDialogsTest, DownloadOpensTheDownloadPageAsksToQuitAndIgnoresTheVersion) {
  Start(240, 320, 96);
  UrlCatcher browser;
  int quits = 0;
  app::GuiUserInterface gui;
  gui.SetQuitRequest([&] { ++quits; });
  model::UserInterface::SetCurrent(&gui);
  QString line;
  driver_.On<dialogs::CNewVersionDlg>([&](dialogs::CNewVersionDlg& dialog) {
    line = dialog.VersionLabel()->text();
    EXPECT_EQ(dialog.Bar()->ResourceId(), 196u);
    dialog.OnCommand(c::kDialogDownload);
  });
  model::CWinBlogStorage blog;
  EXPECT_TRUE(blog.OfferNewVersion("9.9"));
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(line, "Tessary 9.9");
  EXPECT_EQ(browser.opened, QList<QUrl>{QUrl(QString::fromStdString(service::VersionCheck::DownloadAddress()))});
  EXPECT_EQ(quits, 1);
  EXPECT_EQ(platform::ReadLastIgnoredVersion(), "9.9");

  driver_.On<dialogs::CNewVersionDlg>([](dialogs::CNewVersionDlg& dialog) {
    dialog.DontShowAgainBox()->setChecked(true);
    dialog.Bar()->PressLeft();
  });
  EXPECT_FALSE(blog.OfferNewVersion("9.10"));
  EXPECT_EQ(platform::ReadLastIgnoredVersion(), "9.10");
  EXPECT_EQ(quits, 1);
  model::UserInterface::SetCurrent(nullptr);
}

TEST_F(SmallDialogsTest, AboutShowsTheIconAndTheProgramsVersion) {
  Start(240, 320, 96);
  QString version;
  bool icon = false;
  driver_.On<dialogs::CAboutDlg>([&](dialogs::CAboutDlg& about) {
    version = about.VersionLabel()->text();
    icon = !about.IconLabel()->pixmap().isNull();
    EXPECT_TRUE(about.VersionLabel()->font().bold());
    about.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kAbout);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(version, "Tessary Vers " + QString::fromStdString(service::VersionCheck::ProgramVersion()));
  EXPECT_TRUE(icon);
}

}  // namespace

#include "SmallDialogsTest.moc"
