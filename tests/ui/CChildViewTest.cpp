#include <QMenu>
#include <algorithm>
#include <QTest>

#include "model/CWinBlogStorage.h"
#include "platform/Preferences.h"
#include "tests/ui/ViewFixture.h"
#include "ui/CImageWnd.h"
#include "ui/DisplayScale.h"
#include "ui/CommandIds.h"
#include "ui/MenuBuilder.h"
#include "ui/MessageBox.h"
#include "ui/SoftKeyBar.h"

namespace {

using uitest::ViewFixture;
namespace c = ui::commands;

std::vector<uint32_t> MenuCommands(const QMenu& menu) {
  std::vector<uint32_t> out;
  for (const QAction* action : menu.actions()) out.push_back(ui::MenuBuilder::CommandOf(action));
  return out;
}

class ChildViewTest : public ViewFixture {};

TEST_F(ChildViewTest, HomeViewShowsThreeRowsPortraitAndTwoLandscape) {
  for (int i = 0; i < 4; ++i) AddBlog("blog" + std::to_string(i), "Blog " + std::to_string(i), 0);
  Start(240, 320, 96);
  EXPECT_TRUE(view_->InHomeView());
  EXPECT_EQ(view_->GetItemCount(), 4);
  EXPECT_EQ(view_->VisibleRows(), 3);
  EXPECT_EQ(view_->Columns(), 1);
  EXPECT_EQ(view_->LargestTopRow(), 1);
  screen_.reset();
  Start(320, 240, 96);
  EXPECT_EQ(view_->VisibleRows(), 2);
}

TEST_F(ChildViewTest, BlogCellsAre45ScaledOr96AtLargeScales) {
  AddBlog("trip", "Trip", 1);
  platform::WriteCurrentlyViewedBlog("trip");
  Start(480, 640, 192);
  ASSERT_FALSE(view_->InHomeView());
  EXPECT_EQ(view_->CellWidth(), 90);
  EXPECT_EQ(view_->CellHeight(), 90);
  screen_.reset();
  Start(480, 640, 288);  // 45 x 3 = 135 would exceed 96
  EXPECT_EQ(view_->CellWidth(), 96);
  EXPECT_EQ(view_->CellHeight(), 96);
}

TEST_F(ChildViewTest, KeysGoHomeToBlogToViewerAndBack) {
  AddBlog("alpha", "Alpha", 2);
  AddBlog("beta", "Beta", 3);
  Start(240, 320, 96);
  PressKey(Qt::Key_Return);  // selects the first row
  PressKey(Qt::Key_Down);
  EXPECT_EQ(view_->Selected(), 1);
  PressKey(Qt::Key_Return);
  ASSERT_FALSE(view_->InHomeView());
  EXPECT_EQ(screen_->Caption(), "Beta");
  EXPECT_EQ(platform::ReadCurrentlyViewedBlog(), "beta");
  EXPECT_EQ(screen_->TopBar(), view_->BlogBar());
  EXPECT_EQ(view_->GetItemCount(), 3);

  PressKey(Qt::Key_Return);
  PressKey(Qt::Key_Right);
  PressKey(Qt::Key_Return);
  ASSERT_TRUE(view_->ViewerOpen());
  EXPECT_EQ(screen_->TopBar(), view_->Viewer()->Bar());
  model::CWinBlogEntry* second = view_->CurrentBlog()->GetShownEntryAt(1);
  EXPECT_EQ(view_->Viewer()->Entry(), second);
  PressKey(Qt::Key_Right);  // next entry
  EXPECT_EQ(view_->Viewer()->Entry(), view_->CurrentBlog()->GetShownEntryAt(2));
  EXPECT_EQ(view_->Selected(), 2);
  PressKey(Qt::Key_Right);  // no entry after the last
  EXPECT_EQ(view_->Selected(), 2);

  PressKey(Qt::Key_Escape);  // Back closes only the viewer
  EXPECT_FALSE(view_->ViewerOpen());
  EXPECT_FALSE(view_->InHomeView());
  EXPECT_EQ(screen_->TopBar(), view_->BlogBar());
  PressKey(Qt::Key_Escape);
  EXPECT_TRUE(view_->InHomeView());
  EXPECT_EQ(view_->Selected(), 1);
  EXPECT_EQ(screen_->Caption(), "Tessary");
  EXPECT_EQ(platform::ReadCurrentlyViewedBlog(), "");
  EXPECT_EQ(screen_->TopBar(), frame_->MenuBar());
  PressKey(Qt::Key_Escape);  // nothing to leave in the home view
  EXPECT_TRUE(view_->InHomeView());
}

TEST_F(ChildViewTest, BackActsOnReleaseOnly) {
  AddBlog("alpha", "Alpha", 1);
  platform::WriteCurrentlyViewedBlog("alpha");
  Start(240, 320, 96);
  QTest::keyPress(view_, Qt::Key_Escape);
  EXPECT_FALSE(view_->InHomeView());
  QTest::keyRelease(view_, Qt::Key_Escape);
  EXPECT_TRUE(view_->InHomeView());
}

TEST_F(ChildViewTest, ShowMenuFollowsGroupTypeAndStoredFilter) {
  model::CWinBlogStorage* group = AddBlog("club", "Club", 1, 1);
  group->SetFilters(model::kAllCategories, model::kShowPublishedByMe);
  group->Save();
  AddBlog("solo", "Solo", 1, 0);
  Start(240, 320, 96);
  view_->EnterBlog(0);
  QMenu* show = view_->ShowMenu();
  EXPECT_EQ(MenuCommands(*show),
            (std::vector<uint32_t>{c::kShowAll, c::kShowPending, c::kShowPublished, c::kShowPublishedByMe}));
  EXPECT_EQ(ui::MenuBuilder::CheckedPosition(*show), 3);
  view_->GoHome();
  view_->EnterBlog(1);
  EXPECT_EQ(MenuCommands(*show), (std::vector<uint32_t>{c::kShowAll, c::kShowPending, c::kShowPublished}));
  EXPECT_EQ(ui::MenuBuilder::CheckedPosition(*show), 0);

  frame_->OnCommand(c::kShowPending);  // nothing pending after a save
  EXPECT_EQ(ui::MenuBuilder::CheckedPosition(*show), 1);
  EXPECT_EQ(view_->CurrentBlog()->GetShowFilter(), model::kShowPending);
  EXPECT_EQ(view_->GetItemCount(), static_cast<int>(view_->CurrentBlog()->GetShownCount()));
}

TEST_F(ChildViewTest, CategoryMenuListsCategoriesUnfiledAndEditWhenWritable) {
  AddBlog("solo", "Solo", 2);
  platform::WriteCurrentlyViewedBlog("solo");
  Start(240, 320, 96);
  QMenu* category = view_->CategoryMenu();
  EXPECT_EQ(MenuCommands(*category), (std::vector<uint32_t>{c::kCategoryAll, c::kCategoryUnfiled, c::kEditCategories}));
  EXPECT_EQ(ui::MenuBuilder::CheckedPosition(*category), 0);

  auto travel = std::make_unique<model::CWinBlogAlbum>();
  travel->SetId(41);
  travel->SetName("Travel");
  view_->CurrentBlog()->InsertCategory(std::move(travel));
  view_->RebuildCategoryMenu();
  EXPECT_EQ(MenuCommands(*category),
            (std::vector<uint32_t>{c::kCategoryAll, c::kCategoryFirst, c::kCategoryUnfiled, c::kEditCategories}));
  frame_->OnCommand(c::kCategoryFirst);
  EXPECT_EQ(view_->CurrentBlog()->GetCategoryFilter(), 41u);
  EXPECT_EQ(view_->GetItemCount(), 0);  // both entries are unfiled
  EXPECT_EQ(ui::MenuBuilder::CheckedPosition(*category), 1);
  frame_->OnCommand(c::kCategoryUnfiled);
  EXPECT_EQ(view_->GetItemCount(), 2);
  EXPECT_EQ(ui::MenuBuilder::CheckedPosition(*category), 2);

  view_->CurrentBlog()->GetBlogInfo()->readOnly = true;
  view_->RebuildCategoryMenu();
  EXPECT_EQ(ui::MenuBuilder::FindCommand(*category, c::kEditCategories), nullptr);
}

TEST_F(ChildViewTest, OnlyTheFirst257CategoriesCanBeChosen) {
  model::CWinBlogStorage* blog = AddBlog("big", "Big", 0);
  for (uint32_t i = 0; i < 260; ++i) {
    auto category = std::make_unique<model::CWinBlogAlbum>();
    category->SetId(100 + i);
    category->SetName("c" + std::to_string(1000 + i));
    blog->InsertCategory(std::move(category));
  }
  blog->Save();
  platform::WriteCurrentlyViewedBlog("big");
  Start(240, 320, 96);
  const std::vector<uint32_t> commands = MenuCommands(*view_->CategoryMenu());
  ASSERT_EQ(commands.size(), 1u + 257u + 2u);
  EXPECT_EQ(commands[257], c::kCategoryLast);
  // "Edit Categories..." keeps its own number: no category takes 5257.
  EXPECT_EQ(std::count(commands.begin(), commands.end(), c::kEditCategories), 1);
  EXPECT_EQ(commands.back(), c::kEditCategories);
  frame_->OnCommand(c::kCategoryLast);
  EXPECT_EQ(view_->CurrentBlog()->GetCategoryFilter(), 100u + 256u);
  EXPECT_EQ(ui::MenuBuilder::CheckedPosition(*view_->CategoryMenu()), 257);
}

TEST_F(ChildViewTest, OpeningANewEntryClearsTheMarkAndSavesOnce) {
  model::CWinBlogStorage* blog = AddBlog("solo", "Solo", 1);
  blog->GetShownEntryAt(0)->SetNew(true);
  blog->Save();
  platform::WriteCurrentlyViewedBlog("solo");
  Start(240, 320, 96);
  const auto file = root_.Host(view_->CurrentBlog()->GetPath());
  const auto before = std::filesystem::last_write_time(file);
  view_->Select(0, false);
  frame_->OnCommand(c::kOk);  // the view's OK goes home; Enter opens instead
  view_->EnterBlog(0);
  view_->Select(0, false);
  view_->ItemActivated(0);
  ASSERT_TRUE(view_->ViewerOpen());
  model::CWinBlogEntry* entry = view_->Viewer()->Entry();
  EXPECT_FALSE(entry->IsNew());
  const auto saved = std::filesystem::last_write_time(file);
  EXPECT_NE(saved, before);
  view_->Viewer()->ShowEntry(*entry);  // opening it again saves nothing
  EXPECT_EQ(std::filesystem::last_write_time(file), saved);
  model::CWinBlogUser reread;
  reread.LoadUser();
  EXPECT_FALSE(reread.FindBlog(u"solo")->GetShownEntryAt(0)->IsNew());
}

TEST_F(ChildViewTest, StartUpWithAStaleCurrentBlogShowsHome) {
  AddBlog("alpha", "Alpha", 0);
  platform::WriteCurrentlyViewedBlog("gone");
  Start(240, 320, 96);
  EXPECT_TRUE(view_->InHomeView());
  EXPECT_EQ(view_->GetItemCount(), 1);
  EXPECT_EQ(platform::ReadCurrentlyViewedBlog(), "gone");  // kept until the user moves
}

TEST_F(ChildViewTest, WithoutAccountOrBlogsTheSampleBlogIsMade) {
  user_->SetEmail("");
  user_->SetPassword("");
  user_->SaveUser();
  bool welcomed = false;
  ui::CChildView* view = nullptr;
  ui::DisplayScale::FromDpi(96, 96);
  screen_ = std::make_unique<ui::PhoneScreen>(240, 320);
  frame_ = new app::CMainFrame(*screen_, *user_);
  frame_->setGeometry(0, 20, 240, 280);
  ASSERT_TRUE(frame_->Create());
  view = frame_->View();
  view->SetWelcomeFlow([&] { welcomed = true; });
  ASSERT_TRUE(view->Initialise());
  EXPECT_TRUE(welcomed);
  EXPECT_EQ(view->GetItemCount(), 1);
  EXPECT_EQ(user_->Blogs().Count(), 1u);
}

TEST_F(ChildViewTest, RefusalsAndGreyedCommands) {
  AddBlog("solo", "Solo", 1);
  platform::WriteCurrentlyViewedBlog("solo");
  Start(240, 320, 96);
  EXPECT_TRUE(frame_->CanAct(c::kPostRemote));  // no remote blogs: it refuses
  EXPECT_TRUE(frame_->CanAct(c::kSendEmail));  // about the blog
  EXPECT_TRUE(frame_->CanAct(c::kCamera));  // a blog is open
  EXPECT_FALSE(frame_->CanAct(c::kCaption));  // no viewer open
  EXPECT_FALSE(frame_->CanAct(c::kPurgePhoto));  // no viewer open
  std::vector<QString> shown;
  ui::MessageBox::SetResponder([&](const ui::MessageBox::Request& r) {
    shown.push_back(r.text);
    EXPECT_EQ(r.icon, ui::MessageBox::Icon::Exclamation);
    return int(ui::MessageBox::kOk);
  });
  frame_->OnCommand(c::kPostRemote);
  view_->Select(0, false);
  view_->ItemActivated(0);
  EXPECT_TRUE(frame_->CanAct(c::kSendEmail));  // about the entry, never synced
  frame_->OnCommand(c::kSendEmail);
  frame_->OnCommand(c::kViewComments);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(shown[0].startsWith("You don't currently have any remote blogs"));
  EXPECT_TRUE(shown[1].startsWith("You need to sync the new entry"));
  EXPECT_TRUE(shown[2].startsWith("You need to sync this entry"));
}

TEST_F(ChildViewTest, PurgePhotoAsksAndKeepsTheThumbnail) {
  model::CWinBlogStorage* blog = AddBlog("solo", "Solo", 1);
  blog->Entries().At(0)->SetId(5);
  blog->Entries().At(0)->SetModified(false);
  ASSERT_EQ(blog->Save(), 0u);
  platform::WriteCurrentlyViewedBlog("solo");
  Start(240, 320, 96);
  view_->Select(0, false);
  view_->ItemActivated(0);
  model::CWinBlogEntry* entry = view_->Viewer()->Entry();
  const std::string photo = entry->GetPhotoPath();
  ASSERT_TRUE(root_.Fs().Exists(photo));
  bool defaultNo = false;
  int answer = ui::MessageBox::kNo;
  ui::MessageBox::SetResponder([&](const ui::MessageBox::Request& r) {
    defaultNo = r.yesNo && r.defaultNo;
    return answer;
  });
  frame_->OnCommand(c::kPurgePhoto);
  EXPECT_TRUE(defaultNo);
  EXPECT_TRUE(root_.Fs().Exists(photo));
  answer = ui::MessageBox::kYes;
  frame_->OnCommand(c::kPurgePhoto);
  EXPECT_FALSE(root_.Fs().Exists(photo));
  EXPECT_FALSE(entry->GetThumbnail().empty());
  view_->Viewer()->grab();  // paints: the thumbnail stands in for the photo
  EXPECT_EQ(view_->Viewer()->PhotoHeight(), view_->Viewer()->height() - view_->Viewer()->LineHeight() - 3);
}

}  // namespace
