#include <QTest>
#include <filesystem>

#include "dialogs/photos/CDownloadPhotoDlg.h"
#include "dialogs/photos/CMovePhotosDlg.h"
#include "dialogs/photos/CPurgePhotosDlg.h"
#include "model/CWinBlogStorage.h"
#include "platform/Preferences.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CImageWnd.h"
#include "ui/CommandIds.h"
#include "ui/SpinList.h"

namespace {

namespace c = ui::commands;
using uitest::DialogDriver;

// Delete Photos, Move Photos, Purge Photo and the Download Photo screen, on a
// blog whose entries are on the service (ids given) unless a test says not.
class PhotoScreensTest : public uitest::ViewFixture {
 protected:
  model::CWinBlogStorage* AddPublishedBlog(int photos) {
    model::CWinBlogStorage* blog = AddBlog("alpha", "Alpha", photos);
    for (size_t i = 0; i < blog->Entries().Count(); ++i) {
      blog->Entries().At(i)->SetId(static_cast<uint32_t>(100 + i));
      blog->Entries().At(i)->SetModified(false);
    }
    EXPECT_EQ(blog->Save(), 0u);
    return blog;
  }
  void OpenBlog() {
    Start(240, 320, 96);
    view_->EnterBlog(0);
  }
  model::CWinBlogEntry& OpenViewer(int index) {
    OpenBlog();
    view_->Select(index, true);
    view_->ItemActivated(index);
    EXPECT_TRUE(view_->ViewerOpen());
    return *view_->Viewer()->Entry();
  }
  // A storage card "\SD": a link to a folder beside the device's files.
  void MakeCard() {
    const std::filesystem::path store = root_.HostRoot() / ".sd";
    std::filesystem::create_directories(store);
    std::filesystem::create_directory_symlink(store, root_.HostRoot() / "SD");
  }
};

TEST_F(PhotoScreensTest, DeletePhotosKeepsTheThumbnailsAndTidiesTheFolder) {
  model::CWinBlogStorage* blog = AddPublishedBlog(2);
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  const std::string folder = blog->GetPhotoFolder();
  for (const auto& entry : blog->Entries()) {
    const std::string moved = folder + "\\" + std::string(platform::PhoneFileName(entry->photoPath));
    ASSERT_EQ(root_.Fs().MoveFile(entry->photoPath, moved), 0u);
    entry->photoPath = moved;
  }
  ASSERT_EQ(blog->Save(), 0u);
  OpenBlog();
  blog = view_->CurrentBlog();  // the window loads the blogs anew
  DialogDriver driver;
  driver.On<dialogs::CPurgePhotosDlg>([](dialogs::CPurgePhotosDlg& d) { d.Bar()->PressRight(); });
  frame_->OnCommand(c::kPurgePhotos);
  EXPECT_TRUE(root_.Fs().IsDirectory(folder));
  driver.On<dialogs::CPurgePhotosDlg>([](dialogs::CPurgePhotosDlg& d) { d.Bar()->PressLeft(); });
  frame_->OnCommand(c::kPurgePhotos);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(driver.Screens(), (std::vector<QString>{"Delete Photos", "Delete Photos"}));
  EXPECT_TRUE(driver.Messages().empty());
  for (const auto& entry : blog->Entries()) {
    EXPECT_TRUE(entry->photoPath.empty());
    EXPECT_FALSE(entry->GetThumbnail().empty());
  }
  EXPECT_FALSE(root_.Fs().IsDirectory(folder));
  EXPECT_EQ(view_->GetItemCount(), 2);
}

TEST_F(PhotoScreensTest, PurgePhotoAsksWithNoAsDefaultAndSparesAPendingEntry) {
  model::CWinBlogStorage* blog = AddPublishedBlog(2);
  blog->GetShownEntryAt(1)->SetId(0);
  blog->GetShownEntryAt(1)->SetModified(true);
  ASSERT_EQ(blog->Save(), 0u);
  model::CWinBlogEntry& published = OpenViewer(0);
  model::CWinBlogEntry* pending = view_->CurrentBlog()->GetShownEntryAt(1);
  ASSERT_FALSE(pending->HasId());
  const std::string publishedPhoto = published.photoPath;
  const std::string pendingPhoto = pending->photoPath;
  DialogDriver driver;
  driver.Answer(ui::MessageBox::kNo).Answer(ui::MessageBox::kYes).Answer(ui::MessageBox::kYes);
  frame_->OnCommand(c::kPurgePhoto);
  EXPECT_TRUE(root_.Fs().Exists(publishedPhoto));
  frame_->OnCommand(c::kPurgePhoto);
  EXPECT_TRUE(published.photoPath.empty());
  EXPECT_FALSE(root_.Fs().Exists(publishedPhoto));
  view_->MoveInViewer(1);
  ASSERT_EQ(view_->Viewer()->Entry(), pending);
  frame_->OnCommand(c::kPurgePhoto);
  EXPECT_EQ(pending->photoPath, pendingPhoto);
  EXPECT_TRUE(root_.Fs().Exists(pendingPhoto));
  ASSERT_EQ(driver.Messages().size(), 3u);
  for (const ui::MessageBox::Request& asked : driver.Messages()) {
    EXPECT_EQ(asked.text, "Delete the photo for this blog entry? The thumbnail will remain.");
    EXPECT_TRUE(asked.yesNo);
    EXPECT_TRUE(asked.defaultNo);
    EXPECT_EQ(asked.icon, ui::MessageBox::Icon::Question);
  }
}

TEST_F(PhotoScreensTest, MovePhotosWithoutACardSaysSoBeforeAnyScreen) {
  AddPublishedBlog(1);
  OpenBlog();
  DialogDriver driver;
  frame_->OnCommand(c::kMovePhotos);
  EXPECT_TRUE(driver.Screens().empty());
  ASSERT_EQ(driver.Messages().size(), 1u);
  EXPECT_EQ(driver.Messages()[0].text,
            "Your device doesn't currently have any external storage cards. Insert a storage card and try again.");
  EXPECT_EQ(driver.Messages()[0].icon, ui::MessageBox::Icon::Exclamation);
}

TEST_F(PhotoScreensTest, MovePhotosOffersInternalAndTheCardAndRefusesOnePlaceTwice) {
  model::CWinBlogStorage* blog = AddPublishedBlog(2);
  MakeCard();
  OpenBlog();
  blog = view_->CurrentBlog();  // the window loads the blogs anew
  DialogDriver driver;
  driver.On<dialogs::CMovePhotosDlg>([](dialogs::CMovePhotosDlg& d) {
    ui::SpinList* from = d.SourceList();
    ui::SpinList* to = d.DestinationList();
    ASSERT_EQ(from->count(), 2);
    EXPECT_EQ(from->itemText(0), "Internal");
    EXPECT_EQ(from->itemText(1), "SD");
    EXPECT_EQ(from->currentIndex(), 0);
    EXPECT_EQ(to->currentIndex(), 1);
    QTest::keyClick(to, Qt::Key_Right);  // wraps round to Internal
    d.Bar()->PressLeft();
    EXPECT_TRUE(d.IsRunning());
    QTest::keyClick(to, Qt::Key_Left);
    d.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kMovePhotos);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(driver.MessageTexts(),
            std::vector<QString>{"You've specified the same location for the source and destination."});
  for (const auto& entry : blog->Entries()) {
    EXPECT_EQ(entry->photoPath.rfind("\\SD\\DCIM\\alpha\\", 0), 0u) << entry->photoPath;
    EXPECT_TRUE(root_.Fs().Exists(entry->photoPath));
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root_.HostRoot() / ".sd" / "DCIM" / "alpha"), {}), 2);
}

TEST_F(PhotoScreensTest, DownloadPhotoOpensOnTheEntrysSizeElseOnThePreference) {
  model::CWinBlogStorage* blog = AddPublishedBlog(2);
  blog->GetShownEntryAt(0)->SetPhotoSize(model::kSize320x240);
  blog->GetShownEntryAt(1)->SetPhotoSize(model::kSizeThumbnails);
  ASSERT_EQ(blog->Save(), 0u);
  ASSERT_TRUE(platform::WriteDownloadPhotoSize(model::kSize240x180));
  OpenViewer(0);
  std::vector<uint32_t> opened;
  DialogDriver driver;
  auto cancel = [&](dialogs::CDownloadPhotoDlg& d) {
    opened.push_back(d.SizeList()->CurrentData());
    EXPECT_EQ(d.SizeList()->count(), 6);
    d.Bar()->PressRight();
  };
  driver.On<dialogs::CDownloadPhotoDlg>(cancel);
  frame_->OnCommand(c::kDownloadPhoto);
  view_->MoveInViewer(1);
  driver.On<dialogs::CDownloadPhotoDlg>(cancel);
  frame_->OnCommand(c::kDownloadPhoto);
  EXPECT_EQ(opened, (std::vector<uint32_t>{model::kSize320x240, model::kSize240x180}));
  EXPECT_TRUE(driver.Messages().empty());
}

TEST_F(PhotoScreensTest, DownloadingTheSizeTheEntryHasTellsSoWithoutConnecting) {
  AddPublishedBlog(1);
  OpenViewer(0);  // a full-size photo on the device
  DialogDriver driver;
  driver.On<dialogs::CDownloadPhotoDlg>([](dialogs::CDownloadPhotoDlg& d) {
    EXPECT_EQ(d.SizeList()->CurrentData(), model::kSizeFull);
    EXPECT_EQ(d.SizeList()->currentText(), "Full size");
    d.Bar()->PressLeft();
  });
  frame_->OnCommand(c::kDownloadPhoto);
  // No service runs here: a connection would have failed with a message of its own.
  EXPECT_EQ(driver.MessageTexts(), std::vector<QString>{"You already have this image size."});
  EXPECT_EQ(driver.Messages()[0].icon, ui::MessageBox::Icon::Information);
  EXPECT_EQ(platform::ReadDownloadPhotoSize(), model::kSizeFull);
}

}  // namespace
