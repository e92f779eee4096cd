#include <QTest>

#include "model/CWinBlogStorage.h"
#include "platform/Preferences.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CImageWnd.h"
#include "ui/CommandIds.h"
#include "ui/SoftKeyBar.h"

namespace {

class ImageWndTest : public uitest::ViewFixture {
 protected:
  ui::CImageWnd* OpenFirst(const std::string& caption) {
    model::CWinBlogEntry* entry = view_->CurrentBlog()->GetShownEntryAt(0);
    entry->SetCaption(caption);
    view_->Select(0, false);
    view_->ItemActivated(0);
    ui::CImageWnd* viewer = view_->Viewer();
    viewer->grab();  // a paint computes the page
    return viewer;
  }

  // Rows of the viewer holding dark (text) pixels below `top`.
  static int TextRows(const QImage& image, int top) {
    int rows = 0;
    for (int y = top; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 80) {
          ++rows;
          break;
        }
      }
    }
    return rows;
  }
};

TEST_F(ImageWndTest, ShortPageDoesNotScroll) {
  AddBlog("solo", "Solo", 1);
  platform::WriteCurrentlyViewedBlog("solo");
  Start(240, 320, 96);
  ui::CImageWnd* viewer = OpenFirst("Short.");
  EXPECT_EQ(viewer->LargestScrollPosition(), 0);
  viewer->ScrollDown();
  EXPECT_EQ(viewer->ScrollPosition(), 0);
  // The 640 x 480 photo fitted to the 240-pixel width is 180 high, at the top.
  EXPECT_EQ(viewer->PhotoHeight(), 180);
}

TEST_F(ImageWndTest, LongCaptionScrollsByLinesWithinRange) {
  AddBlog("solo", "Solo", 1);
  platform::WriteCurrentlyViewedBlog("solo");
  Start(240, 320, 96);
  std::string caption;
  for (int i = 0; i < 30; ++i) caption += "Words that go on and on. ";
  ui::CImageWnd* viewer = OpenFirst(caption);
  const int largest = viewer->LargestScrollPosition();
  ASSERT_GT(largest, 4);
  PressKey(Qt::Key_Down);
  EXPECT_EQ(viewer->ScrollPosition(), viewer->LineHeight());
  for (int i = 0; i < 200; ++i) viewer->ScrollDown();
  EXPECT_EQ(viewer->ScrollPosition(), largest);
  PressKey(Qt::Key_Up);
  EXPECT_EQ(viewer->ScrollPosition(), largest - viewer->LineHeight());
  view_->Viewer()->ShowEntry(*view_->CurrentBlog()->GetShownEntryAt(0));
  EXPECT_EQ(viewer->ScrollPosition(), 0);
}

TEST_F(ImageWndTest, AuthorLineOnlyOnGroupBlogs) {
  AddBlog("club", "Club", 1, 1);
  AddBlog("solo", "Solo", 1, 0);
  platform::WriteCurrentlyViewedBlog("club");
  Start(240, 320, 96);
  const int top = 180 + 3;
  const QImage group = OpenFirst("")->grab().toImage();
  PressKey(Qt::Key_Escape);
  PressKey(Qt::Key_Escape);
  view_->EnterBlog(1);
  const QImage solo = OpenFirst("")->grab().toImage();
  EXPECT_GT(TextRows(group, top), TextRows(solo, top) + 5);
}

TEST_F(ImageWndTest, PenReleaseAndOkCloseTheViewer) {
  AddBlog("solo", "Solo", 1);
  platform::WriteCurrentlyViewedBlog("solo");
  Start(240, 320, 96);
  ui::CImageWnd* viewer = OpenFirst("x");
  QTest::mouseClick(viewer, Qt::LeftButton, {}, QPoint(50, 50));
  EXPECT_FALSE(view_->ViewerOpen());
  EXPECT_EQ(screen_->TopBar(), view_->BlogBar());
  OpenFirst("x");
  frame_->OnCommand(ui::commands::kOk);
  EXPECT_FALSE(view_->ViewerOpen());
  EXPECT_FALSE(view_->InHomeView());
}

TEST_F(ImageWndTest, ScreenshotsOfHomeBlogAndViewer) {
  AddBlog("alpha", "Alpha Trip", 3);
  model::CWinBlogStorage* club = AddBlog("club", "Photo Club", 5, 1);
  club->GetShownEntryAt(0)->SetNew(true);
  club->GetShownEntryAt(2)->SetNewComments(true);
  club->Save();
  AddBlog("empty", "Empty Blog", 0);
  struct Size {
    int width, height, dpi;
  };
  for (Size size : {Size{240, 320, 96}, Size{480, 640, 192}}) {
    platform::WriteCurrentlyViewedBlog("");
    Start(size.width, size.height, size.dpi);
    const std::string suffix = "-" + std::to_string(size.width) + "x" + std::to_string(size.height);
    view_->Select(2, false);  // blogs are sorted: Alpha Trip, Empty Blog, Photo Club
    SaveScreenshot("home" + suffix);
    view_->EnterBlog(2);
    ASSERT_EQ(view_->CurrentBlog()->Info().urlName, "club");
    view_->Select(2, false);
    SaveScreenshot("blog" + suffix);
    view_->ItemActivated(2);
    SaveScreenshot("viewer" + suffix);
    const QImage shot = Screenshot();
    EXPECT_EQ(shot.size(), QSize(size.width, size.height));
    screen_.reset();
  }
}

}  // namespace
