#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "dialogs/entries/CEditEntryDlg.h"
#include "model/CWinBlogStorage.h"
#include "photo/CImageGridCtrl.h"
#include "photo/CImageSelectDlg.h"
#include "platform/Preferences.h"
#include "platform/StringIds.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CommandIds.h"

namespace {

using photo::CImageGridCtrl;
using photo::CImageSelectDlg;
using uitest::DialogDriver;

// The blog "trips" (one entry) open, and `count` photos p00, p01... on the device.
class PhotoPickerTest : public uitest::ViewFixture {
 protected:
  void StartWithPhotos(int count) {
    blog_ = AddBlog("trips", "Trips", 1);
    for (int i = 0; i < count; ++i) {
      photos_.push_back(WritePhoto((i < 10 ? "p0" : "p") + std::to_string(i), 320, 240, i));
    }
    platform::WriteCurrentlyViewedBlog("trips");
    Start(240, 320, 96);
    blog_ = view_->CurrentBlog();
  }
  static void Keys(QWidget* grid, std::initializer_list<Qt::Key> keys) {
    for (Qt::Key key : keys) QTest::keyClick(grid, key);
  }
  static void ClickCell(CImageGridCtrl* grid, int index) {
    const int position = index - grid->TopRow() * grid->Columns();
    const QRect cell = grid->CellRect(position / grid->Columns(), position % grid->Columns());
    QTest::mouseClick(grid, Qt::LeftButton, {}, cell.center());
  }
  static bool AllVisibleDrawn(CImageGridCtrl* grid) {
    grid->repaint();
    for (const auto& photo : grid->WantedPhotos()) {
      if (grid->IsVisible(photo.index) && !grid->Thumbnails().Find(photo)) return false;
    }
    return true;
  }

  model::CWinBlogStorage* blog_ = nullptr;
  std::vector<std::string> photos_;
};

TEST_F(PhotoPickerTest, KeysMoveTheCursorAndTickInTheOrderChosen) {
  StartWithPhotos(12);
  DialogDriver driver;
  std::vector<std::string> paths;
  std::vector<std::string> expected;
  driver.On<CImageSelectDlg>([&](CImageSelectDlg& picker) {
    CImageGridCtrl* grid = picker.Grid();
    ASSERT_EQ(grid->GetItemCount(), 12);
    EXPECT_EQ(grid->Selected(), 0);
    EXPECT_EQ(picker.Title(), "Add Photos...");
    Keys(grid, {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return});
    Keys(grid, {Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Return});
    Keys(grid, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Left, Qt::Key_Return});  // 2 + 2 rows of 4 - 1
    EXPECT_EQ(grid->Ticked(), (std::vector<int>{5, 2, 9}));
    Keys(grid, {Qt::Key_Up, Qt::Key_Return});  // 5 again: off
    EXPECT_EQ(grid->Ticked(), (std::vector<int>{2, 9}));
    Keys(grid, {Qt::Key_Return});
    EXPECT_EQ(grid->Ticked(), (std::vector<int>{2, 9, 5}));
    for (size_t i = 0; i < picker.GetTickedCount(); ++i) paths.push_back(picker.GetTickedPath(i));
    expected = {grid->Item(2)->Path(), grid->Item(9)->Path(), grid->Item(5)->Path()};
    picker.Bar()->PressRight();
  });
  frame_->OnCommand(ui::commands::kAddPhoto);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(paths, expected);
  EXPECT_EQ(blog_->Entries().Count(), 1u);  // cancelled
}

TEST_F(PhotoPickerTest, ATapTicksWhereItLandsAndTheReleaseDoesNothingMore) {
  StartWithPhotos(6);
  DialogDriver driver;
  driver.On<CImageSelectDlg>([&](CImageSelectDlg& picker) {
    CImageGridCtrl* grid = picker.Grid();
    ClickCell(grid, 3);
    EXPECT_EQ(grid->Selected(), 3);
    EXPECT_EQ(grid->Ticked(), std::vector<int>{3});
    ClickCell(grid, 1);
    ClickCell(grid, 3);
    EXPECT_EQ(grid->Ticked(), std::vector<int>{1});
    EXPECT_EQ(grid->Selected(), 3);
    picker.Bar()->PressLeft();
  });
  driver.On<dialogs::CEditEntryDlg>([](dialogs::CEditEntryDlg& editor) { editor.OnCommand(ui::commands::kCancel); });
  frame_->OnCommand(ui::commands::kAddPhoto);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(blog_->Entries().Count(), 2u);
}

TEST_F(PhotoPickerTest, ThreeTickedPhotosBecomeThreeEntriesInTickingOrderWithoutTheEditor) {
  StartWithPhotos(4);
  DialogDriver driver;
  std::vector<std::string> ticked;
  driver.On<CImageSelectDlg>([&ticked](CImageSelectDlg& picker) {
    for (int i : {2, 0, 3}) {
      picker.Grid()->Tick(i);
      ticked.push_back(picker.Grid()->Item(i)->Path());
    }
    picker.Bar()->PressLeft();
  });
  frame_->OnCommand(ui::commands::kAddPhoto);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(driver.Screens() == std::vector<QString>{"Add Photos..."});
  std::vector<std::string> added;
  for (const auto& e : blog_->Entries()) {
    if (!e->HasId() && e->GetTitle().empty()) added.push_back(e->photoPath);
  }
  // Entries of one date keep the order they were added in.
  EXPECT_EQ(added, ticked);
  EXPECT_EQ(view_->TopRow(), 0);
  EXPECT_EQ(view_->Selected(), -1);
  EXPECT_EQ(view_->GetItemCount(), 4);
}

TEST_F(PhotoPickerTest, OnePhotoOpensTheEditorAndNoPhotosAddNothing) {
  StartWithPhotos(1);
  {
    DialogDriver driver;
    driver.On<CImageSelectDlg>([](CImageSelectDlg& picker) {
      QTest::keyClick(picker.Grid(), Qt::Key_Return);
      picker.Bar()->PressLeft();
    });
    driver.On<dialogs::CEditEntryDlg>([](dialogs::CEditEntryDlg& editor) { editor.Bar()->PressLeft(); });
    frame_->OnCommand(ui::commands::kAddPhoto);
    EXPECT_TRUE(driver.Done());
  }
  EXPECT_EQ(blog_->Entries().Count(), 2u);
  DialogDriver driver;
  driver.On<CImageSelectDlg>([](CImageSelectDlg& picker) {
    EXPECT_EQ(picker.Grid()->GetItemCount(), 0);
    QTest::keyClick(picker.Grid(), Qt::Key_Return);  // no cursor item: nothing
    EXPECT_TRUE(picker.Grid()->Ticked().empty());
    EXPECT_TRUE(picker.IsRunning());
    picker.Bar()->PressLeft();
  });
  frame_->OnCommand(ui::commands::kAddPhoto);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(blog_->Entries().Count(), 2u);
}

TEST_F(PhotoPickerTest, ThumbnailsFillTheVisibleCellsAndAFileThatDoesNotDecodeStaysWhite) {
  StartWithPhotos(30);
  // Made again, p00 is the newest photo (or of one time with the others, and first by name).
  const std::filesystem::path brokenFile = root_.Host("\\My Documents\\My Pictures") / "p00.jpg";
  std::filesystem::remove(brokenFile);
  std::ofstream(brokenFile) << "broken";
  DialogDriver driver;
  driver.On<CImageSelectDlg>([&](CImageSelectDlg& picker) {
    CImageGridCtrl* grid = picker.Grid();
    ASSERT_TRUE(QTest::qWaitFor([&] { return AllVisibleDrawn(grid); }, 10000));
    const std::vector<photo::PickerThumbnails::Photo> wanted = grid->WantedPhotos();
    ASSERT_GE(wanted.size(), 2u);
    ASSERT_EQ(wanted[0].path, photos_[0]);
    const photo::PickerThumbnails::Picture* broken = grid->Thumbnails().Find(wanted[0]);
    ASSERT_NE(broken, nullptr);
    EXPECT_TRUE(broken->image.isNull());
    const photo::PickerThumbnails::Picture* good = grid->Thumbnails().Find(wanted[1]);
    ASSERT_NE(good, nullptr);
    EXPECT_FALSE(good->image.isNull());
    EXPECT_LE(good->image.width(), grid->CellWidth());
    EXPECT_LE(grid->Thumbnails().KeptCount(), grid->Thumbnails().Capacity());
    SaveScreenshot("photo-picker");
    picker.Bar()->PressRight();
  });
  frame_->OnCommand(ui::commands::kAddPhoto);
  EXPECT_TRUE(driver.Done());
}

TEST(PickerThumbnailsTest, KeepsAtMostItsCapacityOfPicturesKeyedByPathAndTime) {
  photo::PickerThumbnails thumbnails(QSize(10, 10), 2, 1);
  std::vector<photo::PickerThumbnails::Photo> photos;
  for (int i = 0; i < 4; ++i) photos.push_back({i, "\\p" + std::to_string(i), 100, "/nonexistent"});
  thumbnails.Want(photos);
  ASSERT_TRUE(QTest::qWaitFor([&] { return thumbnails.Idle(); }, 5000));
  EXPECT_EQ(thumbnails.KeptCount(), 4u);  // what the view wants stays
  thumbnails.Want({photos[0]});
  EXPECT_EQ(thumbnails.KeptCount(), 2u);
  EXPECT_NE(thumbnails.Find(photos[0]), nullptr);
  photos[0].lastWriteTime = 101;  // a changed file is another picture
  EXPECT_EQ(thumbnails.Find(photos[0]), nullptr);
}

}  // namespace
