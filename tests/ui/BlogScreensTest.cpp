#ifdef TESSARY_UI_WITH_SERVICE

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "dialogs/blogs/CBlogPrefsDlg.h"
#include "dialogs/blogs/CConfirmDeleteBlogDlg.h"
#include "dialogs/blogs/CEditBlogListDlg.h"
#include "dialogs/blogs/CGetViewPasswordDlg.h"
#include "dialogs/blogs/CNewBlogDlg.h"
#include "dialogs/blogs/CSubscribeDlg.h"
#include "model/CWinBlogStorage.h"
#include "model/ModelConstants.h"
#include "platform/Preferences.h"
#include "platform/TimeValue.h"
#include "service/ServiceSettings.h"
#include "tests/server/ServiceHarness.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CommandIds.h"
#include "ui/SoftKeyBar.h"
#include "ui/SpinList.h"

namespace {

namespace c = ui::commands;
using uitest::Later;
using dialogs::CBlogPrefsDlg;
using dialogs::CEditBlogListDlg;
using dialogs::CSubscribeDlg;
using uitest::DialogDriver;

const QString kNoConnection = "A connection to the Internet could not be made.";
const QString kBadUrl = "A Blog URL can only contain alphanumeric characters or '_' and '-'.";

// A loopback port that nothing listens on.
uint16_t DeadPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

QStringList Rows(const QListWidget& list) {
  QStringList rows;
  for (int i = 0; i < list.count(); ++i) rows << list.item(i)->text();
  return rows;
}

// The blog screens for the demo account against a real service with the demo data.
class BlogScreensTest : public uitest::ViewFixture {
 protected:
  BlogScreensTest() {
    service_.SeedDemo();
    service::ServiceSettings& settings = service::ServiceSettings::Current();
    saved_ = settings;
    settings.host = "127.0.0.1";
    settings.numericAddress = "127.0.0.1";
    settings.port = static_cast<uint16_t>(service_.Port());
    user_->SetEmail("demo@example.com");
    user_->SetPassword("demo");
    user_->SetUserId(0);
    user_->SaveUser();
    // The service's notes are not this test's business.
    platform::WriteLastMessageCheck(platform::Now());
  }
  ~BlogScreensTest() override { service::ServiceSettings::Current() = saved_; }

  void Subscribe(const QString& url) {
    driver_.On<CSubscribeDlg>([url](CSubscribeDlg& dialog) {
      dialog.UrlField()->clear();
      DialogDriver::Type(*dialog.UrlField(), url);
      dialog.Bar()->PressLeft();
    });
  }
  void PressLeftOnStep(int step) {
    driver_.On<CSubscribeDlg>([step](CSubscribeDlg& dialog) {
      EXPECT_EQ(dialog.Step(), step);
      dialog.Bar()->PressLeft();
    });
  }
  // The key is pressed once the step has returned, so that the driver can play
  // the screens the sync opens meanwhile.
  void PressLeftOnStepLater(int step) {
    driver_.On<CSubscribeDlg>([step](CSubscribeDlg& dialog) {
      EXPECT_EQ(dialog.Step(), step);
      ui::SoftKeyBar* bar = dialog.Bar();
      QTimer::singleShot(0, bar, [bar] { bar->PressLeft(); });
    });
  }
  bool DatabaseFileExists(const std::string& name) const {
    return std::filesystem::exists(root_.Host(user_->DataFolder() + "\\" + name + ".tsl"));
  }

  servertest::ServiceHarness service_;
  service::ServiceSettings saved_;
  DialogDriver driver_;
};

TEST_F(BlogScreensTest, SubscribeRefusesBadAndKnownNamesBeforeAnyNetwork) {
  AddBlog("garden", "Garden", 0);
  service::ServiceSettings::Current().port = DeadPort();
  Start(240, 320, 96);
  Subscribe("../x");
  Subscribe("GARDEN");
  int step = -1;
  driver_.On<CSubscribeDlg>([&](CSubscribeDlg& dialog) {
    step = dialog.Step();
    EXPECT_TRUE(dialog.UrlField()->hasFocus());
    dialog.UrlField()->clear();
    dialog.Bar()->PressLeft();
  });
  driver_.On<CSubscribeDlg>([](CSubscribeDlg& dialog) { dialog.Bar()->PressRight(); });
  frame_->OnCommand(c::kSubscribe);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(step, 0);
  EXPECT_EQ(driver_.MessageTexts(),
            (std::vector<QString>{kBadUrl, "You're already subscribed to this blog.", "Please enter a Blog URL."}));
  EXPECT_EQ(user_->Blogs().Count(), 1u);
}

TEST_F(BlogScreensTest, ASyncFailureTakesSubscribeBackToItsFirstStepWithoutTheBlog) {
  service::ServiceSettings::Current().port = DeadPort();
  Start(240, 320, 96);
  Subscribe("demo-garden");
  PressLeftOnStep(1);
  driver_.On<CSubscribeDlg>([](CSubscribeDlg& dialog) {
    EXPECT_EQ(dialog.Step(), 0);
    EXPECT_FALSE(dialog.StepGroup(1)->isVisible());
    EXPECT_TRUE(dialog.UrlField()->hasFocus());
    EXPECT_EQ(dialog.UrlField()->selectedText(), "demo-garden");
    dialog.Bar()->PressRight();
  });
  frame_->OnCommand(c::kSubscribe);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(driver_.MessageTexts(), std::vector<QString>{kNoConnection});
  EXPECT_EQ(user_->Blogs().Count(), 0u);
  EXPECT_FALSE(DatabaseFileExists("demo-garden"));
}

TEST_F(BlogScreensTest, AServiceErrorEndsSubscribeAndKeepsTheBlog) {
  Start(240, 320, 96);
  Subscribe("nosuchblog");
  driver_.On<CSubscribeDlg>([](CSubscribeDlg& dialog) {
    dialog.Fields().Download()->SelectData(model::kSizeThumbnails);
    dialog.Fields().LimitField()->setText("40");
    dialog.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kSubscribe);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(driver_.MessageTexts(), std::vector<QString>{"This Blog URL does not exist."});
  ASSERT_EQ(user_->Blogs().Count(), 1u);
  ASSERT_NE(view_->CurrentBlog(), nullptr);
  EXPECT_EQ(view_->CurrentBlog()->Info().urlName, "nosuchblog");
  EXPECT_EQ(view_->CurrentBlog()->Info().downloadSize, model::kSizeThumbnails);
  EXPECT_EQ(view_->CurrentBlog()->Info().entryLimit, 40);
  EXPECT_TRUE(DatabaseFileExists("nosuchblog"));
}

TEST_F(BlogScreensTest, AHiddenBlogOfAnotherAccountOpensWithItsViewPassword) {
  Start(240, 320, 96);
  Subscribe("demo-hidden");
  PressLeftOnStepLater(1);
  driver_.On<dialogs::CGetViewPasswordDlg>([](dialogs::CGetViewPasswordDlg& dialog) {
    EXPECT_EQ(dialog.BlogNameLabel()->text(), "demo-hidden");
    EXPECT_EQ(dialog.PasswordField()->echoMode(), QLineEdit::Password);
    dialog.Bar()->PressLeft();
  });
  driver_.On<dialogs::CGetViewPasswordDlg>([](dialogs::CGetViewPasswordDlg& dialog) {
    DialogDriver::Type(*dialog.PasswordField(), "peek");
    dialog.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kSubscribe);
  EXPECT_TRUE(driver_.Done());
  EXPECT_EQ(driver_.MessageTexts(), std::vector<QString>{"You need to enter a password."});
  model::CWinBlogStorage* blog = view_->CurrentBlog();
  ASSERT_NE(blog, nullptr);
  EXPECT_EQ(blog->Info().viewPassword, "peek");
  EXPECT_EQ(blog->Info().title, "Family Only");
  EXPECT_GT(blog->GetShownCount(), 0u);
  // The next sync sends the password it keeps: nothing is asked.
  frame_->OnCommand(c::kSyncBlog);
  EXPECT_EQ(driver_.Messages().size(), 1u);
}

TEST_F(BlogScreensTest, CreateBlogChecksTheUrlAndOffersOthersWhenItIsTaken) {
  Start(240, 320, 96);
  auto create = [this](const QString& url, bool selected) {
    driver_.On<dialogs::CNewBlogDlg>([=](dialogs::CNewBlogDlg& dialog) {
      if (selected) {
        EXPECT_FALSE(dialog.UrlField()->selectedText().isEmpty());
      }
      dialog.UrlField()->setText(url);
      dialog.TitleField()->setText("Mine");
      dialog.Bar()->PressLeft();
    });
  };
  create("my blog", false);
  create("demo-travel", true);
  create("mine", true);
  frame_->OnCommand(c::kCreateBlog);
  EXPECT_TRUE(driver_.Done());
  const std::vector<QString> texts = driver_.MessageTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], kBadUrl);
  EXPECT_TRUE(texts[1].startsWith("The Blog URL \"demo-travel\"  is already in use.")) << texts[1].toStdString();
  EXPECT_EQ(texts[1].count('\n'), 2);
  EXPECT_EQ(texts[2],
            "Congratulations! Your Tessary website has been created. You can now start sharing your photos online!");
  ASSERT_NE(view_->CurrentBlog(), nullptr);
  EXPECT_EQ(view_->CurrentBlog()->Info().urlName, "mine");
  EXPECT_TRUE(DatabaseFileExists("mine"));
}

TEST_F(BlogScreensTest, EditBlogsRemovesABlogWithItsPhotosAndSelectsTheOneBeforeAgain) {
  model::CWinBlogStorage* alpha = AddBlog("alpha", "Alpha", 1);
  AddBlog("beta", "Beta", 0);
  const std::string photo = alpha->Entries().At(0)->GetPhotoPath();
  Start(240, 320, 96);
  view_->Select(1, false);
  driver_.On<CEditBlogListDlg>([](CEditBlogListDlg& dialog) {
    EXPECT_EQ(Rows(*dialog.List()), (QStringList{"Alpha", "Beta"}));
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    Later(&dialog, [&dialog] { dialog.OnCommand(c::kDialogUnsubscribe); });
  });
  driver_.On<dialogs::CConfirmDeleteBlogDlg>([](dialogs::CConfirmDeleteBlogDlg& confirm) {
    EXPECT_FALSE(confirm.DeletePhotosBox()->isChecked());
    confirm.DeletePhotosBox()->setChecked(true);
    confirm.Bar()->PressLeft();
  });
  driver_.On<CEditBlogListDlg>([](CEditBlogListDlg& dialog) {
    EXPECT_EQ(Rows(*dialog.List()), QStringList{"Beta"});
    EXPECT_TRUE(dialog.List()->selectedItems().isEmpty());
    dialog.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kEditBlogs);
  EXPECT_TRUE(driver_.Done());
  ASSERT_EQ(user_->Blogs().Count(), 1u);
  EXPECT_FALSE(DatabaseFileExists("alpha"));
  EXPECT_FALSE(root_.Fs().Exists(photo));
  EXPECT_EQ(view_->GetItemCount(), 1);
  EXPECT_EQ(view_->Selected(), 0);
}

TEST_F(BlogScreensTest, EditBlogsKeepsThePhotosUnlessAsked) {
  model::CWinBlogStorage* beta = AddBlog("beta", "Beta", 1);
  AddBlog("gamma", "Gamma", 0);
  const std::string photo = beta->Entries().At(0)->GetPhotoPath();
  Start(240, 320, 96);
  driver_.On<CEditBlogListDlg>([](CEditBlogListDlg& dialog) {
    Later(&dialog, [&dialog] { dialog.OnCommand(c::kDialogUnsubscribe); });
  });
  driver_.On<dialogs::CConfirmDeleteBlogDlg>([](dialogs::CConfirmDeleteBlogDlg& confirm) { confirm.Bar()->PressLeft(); });
  QStringList left;
  driver_.On<CEditBlogListDlg>([&](CEditBlogListDlg& dialog) {
    left = Rows(*dialog.List());
    dialog.Bar()->PressLeft();
  });
  CEditBlogListDlg dialog(*screen_, frame_, *user_);
  dialog.DoModal();
  EXPECT_TRUE(driver_.Done());
  EXPECT_TRUE(driver_.Messages().empty());
  EXPECT_EQ(left, QStringList{"Gamma"});
  ASSERT_EQ(user_->Blogs().Count(), 1u);
  EXPECT_EQ(user_->Blogs().At(0)->Info().urlName, "gamma");
  EXPECT_FALSE(DatabaseFileExists("beta"));
  EXPECT_TRUE(root_.Fs().Exists(photo));
}

TEST_F(BlogScreensTest, BlogPrefsShowsTheUrlReadOnlyRaisesTheLimitAndMarksOwnerChanges) {
  model::CWinBlogStorage* blog = AddBlog("alpha", "Alpha", 0);
  blog->SetLastSync(1000);
  blog->Save();
  const std::string path = blog->GetPath();  // the window loads the blogs anew
  Start(240, 320, 96);
  view_->EnterBlog(0);
  driver_.On<CBlogPrefsDlg>([](CBlogPrefsDlg& prefs) {
    EXPECT_EQ(prefs.UrlField()->text(), "alpha");
    EXPECT_TRUE(prefs.UrlField()->isReadOnly());
    EXPECT_FALSE(prefs.Fields().Upload()->isVisible());
    EXPECT_TRUE(prefs.ShowOnTessaryBox()->isChecked());
    prefs.Fields().LimitField()->setText("30");
    prefs.TitleField()->setText("Alpha and more");
    prefs.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kBlogPrefs);
  EXPECT_TRUE(driver_.Done());
  model::CWinBlogStorage stored;
  stored.SetPath(path);
  ASSERT_EQ(stored.Load(), 0u);
  EXPECT_EQ(stored.Info().urlName, "alpha");
  EXPECT_EQ(stored.Info().title, "Alpha and more");
  EXPECT_TRUE(stored.Info().modified);
  EXPECT_EQ(stored.Info().entryLimit, 30);
  EXPECT_EQ(stored.GetLastSync(), 0u);
}

TEST_F(BlogScreensTest, ThumbnailsChosenInEditBlogsDeletesThePhotosWithTheSavedChoice) {
  model::CWinBlogStorage* blog = AddBlog("alpha", "Alpha", 1);
  blog->GetBlogInfo()->downloadSize = model::kSize240x180;
  blog->Save();
  const std::string photo = blog->Entries().At(0)->GetPhotoPath();
  const std::string path = blog->GetPath();  // the window loads the blogs anew
  Start(240, 320, 96);
  driver_.On<CEditBlogListDlg>([](CEditBlogListDlg& dialog) {
    Later(&dialog, [&dialog] { dialog.OnCommand(c::kDialogBlogPrefs); });
  });
  driver_.On<CBlogPrefsDlg>([](CBlogPrefsDlg& prefs) {
    prefs.Fields().Download()->setFocus();
    QTest::keyClick(prefs.Fields().Download(), Qt::Key_Left);
    QTest::keyClick(prefs.Fields().Download(), Qt::Key_Left);
    EXPECT_EQ(prefs.Fields().Download()->CurrentData(), model::kSizeThumbnails);
    prefs.Bar()->PressLeft();
  });
  driver_.Answer(ui::MessageBox::kYes);
  bool savedAtOnce = false;
  driver_.On<CEditBlogListDlg>([&](CEditBlogListDlg& dialog) {
    model::CWinBlogStorage stored;
    stored.SetPath(path);
    savedAtOnce = stored.Load() == 0 && stored.Info().downloadSize == model::kSizeThumbnails &&
                  !root_.Fs().Exists(photo) && stored.Entries().At(0)->GetPhotoPath().empty();
    dialog.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kEditBlogs);
  EXPECT_TRUE(driver_.Done());
  ASSERT_EQ(driver_.Messages().size(), 1u);
  EXPECT_TRUE(driver_.Messages()[0].yesNo);
  EXPECT_TRUE(driver_.Messages()[0].defaultNo);
  EXPECT_TRUE(savedAtOnce);
}

TEST_F(BlogScreensTest, ASubscriptionTheServiceOffersGetsTheSyncOnlyBlogPrefs) {
  Start(240, 320, 96);
  driver_.Answer(ui::MessageBox::kYes).Answer(ui::MessageBox::kNo).Answer(ui::MessageBox::kNo);
  driver_.Answer(ui::MessageBox::kNo).Answer(ui::MessageBox::kNo);
  driver_.On<CBlogPrefsDlg>([](CBlogPrefsDlg& prefs) {
    EXPECT_EQ(prefs.UrlField(), nullptr);
    EXPECT_TRUE(prefs.Fields().Upload()->isVisible());
    prefs.Fields().Download()->SelectData(model::kSizeNothing);
    prefs.Fields().Upload()->SelectData(model::kUpload640x480);
    prefs.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kSyncHome);
  EXPECT_TRUE(driver_.Done());
  ASSERT_EQ(user_->Blogs().Count(), 1u);
  model::CWinBlogStorage stored;
  stored.SetPath(user_->Blogs().At(0)->GetPath());
  ASSERT_EQ(stored.Load(), 0u);
  EXPECT_EQ(stored.Info().downloadSize, model::kSizeNothing);
  EXPECT_EQ(stored.Info().uploadSize, model::kUpload640x480);
}

}  // namespace

#endif
