#ifdef TESSARY_UI_WITH_SERVICE

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialogs/photos/CDownloadPhotoDlg.h"
#include "dialogs/share/CChooseContactDlg.h"
#include "dialogs/share/CPhotoEmailDlg.h"
#include "dialogs/share/CPostRemoteEntryDlg.h"
#include "image/ImageInformation.h"
#include "model/CWinBlogStorage.h"
#include "platform/DeviceFacts.h"
#include "platform/Preferences.h"
#include "server/AdminCommands.h"
#include "server/Database.h"
#include "server/Statement.h"
#include "service/AccountNetwork.h"
#include "service/ServiceSettings.h"
#include "tests/server/ServiceHarness.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CImageWnd.h"
#include "ui/CProgressWnd.h"
#include "ui/CommandIds.h"
#include "ui/SpinList.h"

namespace {

namespace c = ui::commands;
using uitest::DialogDriver;

// Download Photo, Photo E-Mail and Post Remote Entry against a real
// tessary-service: Ann's blog with two photos, uploaded by a first sync.
class ShareScreensTest : public uitest::ViewFixture {
 protected:
  ShareScreensTest() {
    service::ServiceSettings& settings = service::ServiceSettings::Current();
    saved_ = settings;
    settings.host = "127.0.0.1";
    settings.numericAddress = "127.0.0.1";
    settings.port = static_cast<uint16_t>(service_.Port());
    service_.AddUser("ann@example.com", "secret", "Ann", "Lee");
    service_.AddBlog("annblog", "ann@example.com");
    std::ostringstream out, err;
    server::AdminCommands admin(service_.DataDir(), out, err);
    EXPECT_EQ(admin.AddRemoteBlog("ann@example.com", "Travel Diary"), 0) << err.str();
    EXPECT_EQ(admin.AddRemoteBlog("ann@example.com", "Work"), 0) << err.str();
    AddBlog("annblog", "Ann", 2);
    testsupport::ScriptedUserInterface quiet;
    EXPECT_EQ(service::AccountNetwork::SyncAll(*user_, nullptr), 0u);
  }
  ~ShareScreensTest() override { service::ServiceSettings::Current() = saved_; }

  // Start-up with the phone's window active, as on a desktop.
  void StartActive() {
    Start(240, 320, 96);
    QApplication::setActiveWindow(screen_.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(screen_.get()));
  }
  model::CWinBlogEntry& OpenViewer() {
    StartActive();
    view_->EnterBlog(0);
    view_->Select(0, true);
    view_->ItemActivated(0);
    EXPECT_TRUE(view_->ViewerOpen());
    return *view_->Viewer()->Entry();
  }
  // The rows of a table of the service's store, a column each, joined by "|".
  std::vector<std::string> Rows(const char* sql, int columns) {
    server::Database db;
    EXPECT_TRUE(db.Open(service_.DataDir() / "service.db"));
    std::vector<std::string> rows;
    server::Statement statement = db.Prepare(sql);
    while (statement.Step()) {
      std::string row;
      for (int i = 0; i < columns; ++i) row += (i ? "|" : "") + statement.Text(i);
      rows.push_back(row);
    }
    return rows;
  }
  void WriteContacts(const std::string& text) {
    std::ofstream(root_.Host("\\My Documents\\Contacts.vcf"), std::ios::binary) << text;
  }

  servertest::ServiceHarness service_;
  service::ServiceSettings saved_;
};

TEST_F(ShareScreensTest, DownloadPhotoFetchesEverySizeAndACancelKeepsThePhoto) {
  model::CWinBlogEntry& entry = OpenViewer();
  ASSERT_TRUE(entry.HasId());
  struct Size {
    uint8_t code;
    uint16_t width;  // of the 640 x 480 photo; 0: the service's choice
  };
  DialogDriver driver;
  for (const Size size : {Size{2, 176}, Size{3, 240}, Size{4, 320}, Size{6, 640}, Size{7, 640}, Size{5, 0}}) {
    driver.On<dialogs::CDownloadPhotoDlg>([size](dialogs::CDownloadPhotoDlg& d) {
      ASSERT_TRUE(d.SizeList()->SelectData(size.code));
      d.Bar()->PressLeft();
    });
    frame_->OnCommand(c::kDownloadPhoto);
    EXPECT_EQ(entry.GetPhotoSize(), size.code);
    uint16_t width = 0, height = 0;
    entry.GetPhotoDimensions(width, height);
    if (size.width != 0) {
      EXPECT_EQ(width, size.width) << int(size.code);
    }
    std::unique_ptr<platform::File> file;
    ASSERT_EQ(root_.Fs().OpenFile(entry.photoPath, platform::OpenMode::Read, file), 0u);
    EXPECT_TRUE(image::IsWholeJpeg(*file));
  }
  EXPECT_TRUE(driver.Messages().empty());
  EXPECT_EQ(platform::ReadDownloadPhotoSize(), 5u);

  // Cancel once the photo is on its way: the entry keeps the photo it had.
  const std::string photo = entry.photoPath;
  const auto before = std::filesystem::last_write_time(root_.Host(photo));
  bool fetching = false;
  QTimer cancel;
  QObject::connect(&cancel, &QTimer::timeout, [&] {
    for (ui::CProgressWnd* progress : screen_->findChildren<ui::CProgressWnd*>()) {
      if (progress->Line(1) == "Getting Entry...") {
        fetching = true;
        progress->Bar()->PressLeft();
      }
    }
  });
  cancel.start(0);
  driver.On<dialogs::CDownloadPhotoDlg>([](dialogs::CDownloadPhotoDlg& d) {
    d.SizeList()->SelectData(model::kSize240x180);
    d.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kDownloadPhoto);
  cancel.stop();
  EXPECT_TRUE(fetching);
  EXPECT_TRUE(driver.Messages().empty());
  EXPECT_EQ(entry.GetPhotoSize(), model::kSize480x360);
  EXPECT_EQ(entry.photoPath, photo);
  EXPECT_EQ(std::filesystem::last_write_time(root_.Host(photo)), before);
  EXPECT_TRUE(frame_->isEnabled());
}

TEST_F(ShareScreensTest, PhotoEmailGoesToContactsPickedOneAfterTheOther) {
  WriteContacts(
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob Stone\r\nEMAIL:bob@example.com\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Cleo Park\r\nEMAIL;PREF=1:cleo@work.example\r\n"
      "EMAIL:cleo@home.example\r\nEND:VCARD\r\n");
  model::CWinBlogEntry& entry = OpenViewer();
  DialogDriver driver;
  auto pick = [](int row) {
    return [row](dialogs::CChooseContactDlg& chooser) {
      ASSERT_EQ(chooser.List()->count(), 3);
      EXPECT_EQ(chooser.List()->item(0)->text(), "Bob Stone\nbob@example.com");
      chooser.List()->setCurrentRow(row);
      chooser.Bar()->PressLeft();
    };
  };
  // "To:" opens a screen of its own: it is pressed once the step is over.
  auto pressTo = [](dialogs::CPhotoEmailDlg& mail) { QTimer::singleShot(0, mail.ToButton(), &QPushButton::click); };
  driver.On<dialogs::CPhotoEmailDlg>([&](dialogs::CPhotoEmailDlg& mail) {
    EXPECT_EQ(mail.LinkLabel()->text(), "Photo Link");
    EXPECT_TRUE(mail.AddressField()->hasFocus());
    pressTo(mail);
  });
  driver.On<dialogs::CChooseContactDlg>(pick(2));
  driver.On<dialogs::CPhotoEmailDlg>(pressTo);
  driver.On<dialogs::CChooseContactDlg>(pick(0));
  driver.On<dialogs::CPhotoEmailDlg>([](dialogs::CPhotoEmailDlg& mail) {
    EXPECT_EQ(mail.AddressField()->text(), "cleo@home.example, bob@example.com");
    EXPECT_TRUE(mail.AddressField()->hasFocus());
    DialogDriver::Type(*mail.MessageField(), "Look at this");
    mail.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kSendEmail);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.Messages().empty());
  EXPECT_EQ(Rows("SELECT entry, recipients, message FROM outbox", 3),
            std::vector<std::string>{std::to_string(entry.GetId()) +
                                     "|cleo@home.example, bob@example.com|Look at this"});
}

TEST_F(ShareScreensTest, PhotoEmailRefusalsAndTheBlogLink) {
  StartActive();
  view_->EnterBlog(0);
  DialogDriver driver;
  platform::DeviceFacts& facts = platform::DeviceFacts::Current();
  driver.On<dialogs::CPhotoEmailDlg>([&](dialogs::CPhotoEmailDlg& mail) {
    EXPECT_EQ(mail.LinkLabel()->text(), "Blog Link");
    facts.osMajorVersion = 4;
    mail.ToButton()->click();
    facts.osMajorVersion = 5;
    mail.ToButton()->click();  // no address book: as a cancelled choice
    EXPECT_TRUE(mail.AddressField()->text().isEmpty());
    DialogDriver::Type(*mail.AddressField(), " , ");
    mail.Bar()->PressLeft();
    EXPECT_TRUE(mail.IsRunning());
    mail.Bar()->PressRight();
  });
  frame_->OnCommand(c::kSendEmail);  // category All: the blog itself
  EXPECT_EQ(driver.MessageTexts(), (std::vector<QString>{"This feature requires Windows Mobile 5 or better.",
                                                         "You need to enter at least one valid email address."}));

  // A category made on the device, and a pending entry, are not on the service yet.
  model::CWinBlogStorage* blog = view_->CurrentBlog();
  auto local = std::make_unique<model::CWinBlogAlbum>();
  local->SetId(model::kFirstLocalCategoryId);
  local->SetName("New");
  blog->InsertCategory(std::move(local));
  blog->SetFilters(model::kFirstLocalCategoryId, model::kShowAll);
  frame_->OnCommand(c::kSendEmail);
  blog->SetFilters(model::kAllCategories, model::kShowAll);
  auto pending = std::make_unique<model::CWinBlogEntry>();
  blog->NewLocalEntry(*pending, WritePhoto("new", 64, 48, 3));
  model::CWinBlogEntry* added = pending.get();
  blog->InsertEntry(std::move(pending));
  const int position = blog->GetShownPosition(added);
  ASSERT_EQ(blog->Save(), 0u);
  view_->RefreshView();
  view_->Select(position, true);
  view_->ItemActivated(position);
  ASSERT_FALSE(view_->Viewer()->Entry()->HasId());
  frame_->OnCommand(c::kSendEmail);
  frame_->OnCommand(c::kPostRemote);
  const std::vector<QString> texts = driver.MessageTexts();
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[2], "You need to sync the new category before you can send out a Photo E-Mail or Blog Post for it.");
  EXPECT_EQ(texts[3], "You need to sync the new entry before you can send out a Photo E-Mail or Blog Post for it.");
  EXPECT_EQ(texts[4], texts[3]);
  EXPECT_TRUE(driver.Done());
}

TEST_F(ShareScreensTest, PostRemoteEntryOpensOnTheLastRemoteBlogAndKeepsTheLimits) {
  ASSERT_EQ(user_->RemoteBlogs().size(), 2u);
  platform::WriteLastRemoteBlog("Work");
  model::CWinBlogEntry& entry = OpenViewer();
  DialogDriver driver;
  driver.On<dialogs::CPostRemoteEntryDlg>([&](dialogs::CPostRemoteEntryDlg& post) {
    EXPECT_EQ(post.BlogList()->currentText(), "Work");
    EXPECT_EQ(post.TitleField()->text().toStdString(), entry.GetTitle());
    EXPECT_EQ(post.PostField()->toPlainText().toStdString(), entry.GetCaption());
    EXPECT_TRUE(post.TitleField()->hasFocus());
    DialogDriver::Type(*post.TitleField(), QString(60, 'x'));
    EXPECT_EQ(post.TitleField()->text(), QString(49, 'x'));
    post.PostField()->setPlainText(QString(8100, 'p'));
    EXPECT_EQ(post.PostField()->toPlainText().size(), 7999);
    post.PostField()->setPlainText("From the harbour");
    QTest::keyClick(post.BlogList(), Qt::Key_Left);
    post.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kPostRemote);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.Messages().empty());
  EXPECT_EQ(platform::ReadLastRemoteBlog(), "Travel Diary");
  EXPECT_EQ(Rows("SELECT remote_blog, entry, title, caption FROM remote_posts", 4),
            std::vector<std::string>{"Travel Diary|" + std::to_string(entry.GetId()) + "|" + std::string(49, 'x') +
                                     "|From the harbour"});

  // A remote blog no longer in the account's list: the first one.
  platform::WriteLastRemoteBlog("Gone");
  driver.On<dialogs::CPostRemoteEntryDlg>([](dialogs::CPostRemoteEntryDlg& post) {
    EXPECT_EQ(post.BlogList()->currentIndex(), 0);
    post.Bar()->PressRight();
  });
  frame_->OnCommand(c::kPostRemote);
  user_->SetRemoteBlogs({});
  frame_->OnCommand(c::kPostRemote);
  EXPECT_EQ(driver.MessageTexts(),
            std::vector<QString>{"You don't currently have any remote blogs set up. To set up a remote blog, go to your "
                                 "account settings on the Tessary web site and choose \"Remote Blogs.\""});
}

}  // namespace

#endif
