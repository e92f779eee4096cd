#include <gtest/gtest.h>

#include <filesystem>

#include "cli/AccountCommands.h"
#include "cli/CliSession.h"
#include "cli/SubscriptionCommands.h"
#include "model/CWinBlogUser.h"
#include "model/ModelConstants.h"
#include "platform/StringTable.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/support/TempDeviceRoot.h"

namespace cli {

namespace {

using testsupport::ScriptedUserInterface;

TEST(AccountRules, SizesAreReadByTheirListNamesOrCodes) {
  EXPECT_EQ(ParseDownloadSize("Nothing"), 0);
  EXPECT_EQ(ParseDownloadSize("thumbnails"), 1);
  EXPECT_EQ(ParseDownloadSize("640x480"), 6);
  EXPECT_EQ(ParseDownloadSize("Full size"), 7);
  EXPECT_EQ(ParseDownloadSize("full"), 7);
  EXPECT_EQ(ParseDownloadSize("4"), 4);
  EXPECT_FALSE(ParseDownloadSize("8"));
  EXPECT_FALSE(ParseDownloadSize("1024x768"));
  EXPECT_EQ(ParseUploadSize("320x240"), 0);
  EXPECT_EQ(ParseUploadSize("full"), 3);
  EXPECT_FALSE(ParseUploadSize("176x132"));
  EXPECT_EQ(platform::FormatText(23008, {"mine", "mine1", "mine2"}),
            "The Blog URL \"mine\"  is already in use.  Please try another one.  The following Blog URLs are "
            "available:\nmine1\nmine2");
}

class BlogPrefsRules : public ::testing::Test {
 protected:
  BlogPrefsRules() {
    blog = user.MakeBlog("myblog");
    model::CBlogInfo& info = *blog->GetBlogInfo();
    info.title = "Title";
    info.downloadSize = model::kSize240x180;
    info.limitEntries = true;
    info.entryLimit = 25;
    blog->SetLastSync(1000);
  }

  testsupport::TempDeviceRoot root;
  ScriptedUserInterface ui;
  model::CWinBlogUser user;
  std::unique_ptr<model::CWinBlogStorage> blog;
};

TEST_F(BlogPrefsRules, UnchangedOwnerSettingsMarkNothing) {
  SubscriptionCommands::OwnerSettings owner;
  owner.title = "Title";
  owner.visible = true;
  SubscriptionCommands::ApplyBlogPrefs(*blog, {}, owner);
  EXPECT_FALSE(blog->Info().modified);
  owner.subtitle = "New subtitle";
  SubscriptionCommands::ApplyBlogPrefs(*blog, {}, owner);
  EXPECT_TRUE(blog->Info().modified);
  EXPECT_EQ(blog->Info().subtitle, "New subtitle");
}

TEST_F(BlogPrefsRules, OnlyRaisingAnActiveLimitAsksForAFullDownload) {
  SubscriptionCommands::SyncSettings lower;
  lower.limit = 10;
  SubscriptionCommands::ApplyBlogPrefs(*blog, lower, {});
  EXPECT_EQ(blog->GetLastSync(), 1000u);
  SubscriptionCommands::SyncSettings off;
  off.noLimit = true;
  SubscriptionCommands::ApplyBlogPrefs(*blog, off, {});
  EXPECT_EQ(blog->GetLastSync(), 1000u);
  EXPECT_FALSE(blog->Info().limitEntries);
  // With the limit off, turning it back on higher is not a raise of an active one.
  SubscriptionCommands::SyncSettings higher;
  higher.limit = 50;
  SubscriptionCommands::ApplyBlogPrefs(*blog, higher, {});
  EXPECT_EQ(blog->GetLastSync(), 1000u);
  higher.limit = 60;
  SubscriptionCommands::ApplyBlogPrefs(*blog, higher, {});
  EXPECT_EQ(blog->GetLastSync(), 0u);
  EXPECT_EQ(blog->Info().entryLimit, 60);
}

TEST_F(BlogPrefsRules, SwitchingToThumbnailsAsksWhetherToDeletePhotosOnlyFromALargerSize) {
  SubscriptionCommands::SyncSettings thumbnails;
  thumbnails.download = model::kSizeThumbnails;
  ui.ExpectQuestion(
      "You have decided to download thumbnails only. Would you like to delete the photos for existing blog entries?",
      false);
  SubscriptionCommands::ApplyBlogPrefs(*blog, thumbnails, {});
  EXPECT_EQ(blog->Info().downloadSize, model::kSizeThumbnails);
  SubscriptionCommands::SyncSettings nothing;
  nothing.download = model::kSizeNothing;
  SubscriptionCommands::ApplyBlogPrefs(*blog, nothing, {});
  SubscriptionCommands::ApplyBlogPrefs(*blog, thumbnails, {});
  EXPECT_TRUE(ui.Done());
}

}  // namespace

}  // namespace cli
