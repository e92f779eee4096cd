#include <gtest/gtest.h>

#include "model/BlogPrefs.h"
#include "model/BlogUrlRules.h"
#include "model/CWinBlogUser.h"
#include "model/ModelConstants.h"
#include "platform/StringIds.h"
#include "tests/model/ModelTestUtil.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/support/TempDeviceRoot.h"

namespace {

namespace s = platform::strings;
using model::BlogPrefs;
using testsupport::ScriptedUserInterface;

constexpr const char* kThumbnailsQuestion =
    "You have decided to download thumbnails only. Would you like to delete the photos for existing blog entries?";

class BlogPrefsTest : public ::testing::Test {
 protected:
  BlogPrefsTest() {
    blog = user.MakeBlog("myblog");
    model::CBlogInfo& info = *blog->GetBlogInfo();
    info.title = "Title";
    info.downloadSize = model::kSize240x180;
    info.limitEntries = true;
    info.entryLimit = 25;
    blog->SetLastSync(1000);
  }
  BlogPrefs Prefs() const { return BlogPrefs::Of(blog->Info()); }

  testsupport::TempDeviceRoot root;
  ScriptedUserInterface ui;
  model::CWinBlogUser user;
  std::unique_ptr<model::CWinBlogStorage> blog;
};

TEST_F(BlogPrefsTest, OwnerSettingsMarkTheBlogOnlyWhenTheyChange) {
  Prefs().Apply(*blog, true);
  EXPECT_FALSE(blog->Info().modified);
  BlogPrefs hidden = Prefs();
  hidden.visible = false;
  hidden.Apply(*blog, false);  // the sync-only layout leaves them alone
  EXPECT_FALSE(blog->Info().modified);
  EXPECT_EQ(blog->Info().hidden, 0);
  hidden.Apply(*blog, true);
  EXPECT_TRUE(blog->Info().modified);
  EXPECT_EQ(blog->Info().hidden, 1);
}

TEST_F(BlogPrefsTest, OnlyRaisingAnActiveLimitAsksForAFullDownload) {
  BlogPrefs prefs = Prefs();
  prefs.entryLimit = 10;
  prefs.Apply(*blog, false);
  EXPECT_EQ(blog->GetLastSync(), 1000u);
  prefs.limitEntries = false;
  prefs.entryLimit = 40;
  prefs.Apply(*blog, false);  // raised while turning the limit off: the stored limit was 10
  EXPECT_EQ(blog->GetLastSync(), 0u);
  blog->SetLastSync(1000);
  prefs.limitEntries = true;
  prefs.entryLimit = 50;
  prefs.Apply(*blog, false);  // the stored limit was off
  EXPECT_EQ(blog->GetLastSync(), 1000u);
  prefs.entryLimit = 60;
  prefs.Apply(*blog, false);
  EXPECT_EQ(blog->GetLastSync(), 0u);
  EXPECT_EQ(blog->Info().entryLimit, 60);
}

TEST_F(BlogPrefsTest, ThumbnailsOnlyAsksFromAPhotoSizeAndYesPurgesAtTheNextSave) {
  auto entry = modeltest::MakeEntry(7, 100, "photo");
  const std::string photo = "\\My Documents\\My Pictures\\p.jpg";
  modeltest::WriteJpeg(root, photo, 16, 16);
  entry->photoPath = photo;
  entry->SetPhotoSize(model::kSize240x180);
  blog->InsertEntry(std::move(entry));
  BlogPrefs thumbnails = Prefs();
  thumbnails.downloadSize = model::kSizeThumbnails;
  ui.ExpectQuestion(kThumbnailsQuestion, true);
  thumbnails.Apply(*blog, false);
  EXPECT_EQ(blog->Info().downloadSize, model::kSizeThumbnails);
  EXPECT_TRUE(root.Fs().Exists(photo));
  ASSERT_EQ(blog->Save(), 0u);
  EXPECT_FALSE(root.Fs().Exists(photo));
  // From Nothing to Thumbnails there is nothing to ask about.
  BlogPrefs nothing = Prefs();
  nothing.downloadSize = model::kSizeNothing;
  nothing.Apply(*blog, false);
  thumbnails.Apply(*blog, false);
  EXPECT_TRUE(ui.Done());
}

TEST(BlogUrlRules, SubscribeRefusesBeforeAnythingIsSent) {
  testsupport::TempDeviceRoot root;
  model::CWinBlogUser user;
  user.Blogs().InsertBlog(user.MakeBlog("Travel"));
  EXPECT_EQ(model::BlogUrlRules::SubscribeRefusal(user, ""), s::kEnterBlogUrl);
  EXPECT_EQ(model::BlogUrlRules::SubscribeRefusal(user, "../x"), s::kBadBlogUrl);
  EXPECT_EQ(model::BlogUrlRules::SubscribeRefusal(user, "a b"), s::kBadBlogUrl);
  EXPECT_EQ(model::BlogUrlRules::SubscribeRefusal(user, "travel"), s::kAlreadySubscribed);
  EXPECT_EQ(model::BlogUrlRules::SubscribeRefusal(user, "garden-2"), 0u);
  EXPECT_EQ(model::BlogUrlRules::CreateRefusal(user, ""), s::kBadBlogUrl);
  EXPECT_EQ(model::BlogUrlRules::CreateRefusal(user, "my.blog"), s::kBadBlogUrl);
  EXPECT_EQ(model::BlogUrlRules::CreateRefusal(user, "TRAVEL"), s::kAlreadySubscribed);
}

}  // namespace
