#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliContext.h"
#include "cli/EntryEditCommands.h"
#include "image/Bitmap.h"
#include "image/JpegWriter.h"
#include "model/CWinBlogUser.h"
#include "platform/TimeValue.h"
#include "tests/cli/CommandOutput.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/support/TempDeviceRoot.h"
#include "tests/support/TimeValueAt.h"

namespace cli {

using model::CWinBlogStorage;
using model::MessageIcon;

namespace {

constexpr auto At = testsupport::TimeValueAt;

// User 42 with their blog "trips" (a category "Sea", two entries: a published
// one and a pending one) and the group blog "club" of user 9, where user 9
// posted entry 300.
class EntryEditCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model::CWinBlogUser user;
    user.SetUserId(42);
    ASSERT_EQ(user.SaveUser(), 0u);
    auto trips = user.MakeBlog("trips");
    trips->GetBlogInfo()->ownerId = 42;
    auto sea = std::make_unique<model::CWinBlogAlbum>();
    sea->SetId(5);
    sea->SetName("Sea");
    trips->InsertCategory(std::move(sea));
    trips->InsertEntry(Entry(100, 42, At(2024, 5, 1, 9, 0, 0), "Old"));
    trips->InsertEntry(Entry(0, 42, At(2024, 6, 1, 9, 0, 0), "New"));
    ASSERT_EQ(trips->Save(), 0u);
    auto club = user.MakeBlog("club");
    club->GetBlogInfo()->ownerId = 9;
    club->GetBlogInfo()->groupType = 1;
    club->InsertEntry(Entry(300, 9, At(2024, 1, 1, 0, 0, 0), "Theirs"));
    club->InsertEntry(Entry(301, 42, At(2024, 1, 2, 0, 0, 0), "Mine"));
    ASSERT_EQ(club->Save(), 0u);
  }
  static std::unique_ptr<model::CWinBlogEntry> Entry(uint32_t id, uint32_t author, uint32_t date,
                                                     const std::string& title) {
    auto entry = std::make_unique<model::CWinBlogEntry>();
    entry->SetId(id);
    entry->SetAuthorId(author);
    entry->SetDate(date);
    entry->SetTitle(title);
    entry->SetModified(id == 0);
    return entry;
  }
  std::unique_ptr<CWinBlogStorage> Load(const std::string& name) {
    auto blog = std::make_unique<CWinBlogStorage>();
    blog->SetPath("\\My Documents\\Morvane\\Tessary\\" + name + ".tsl");
    EXPECT_EQ(blog->Load(), 0u);
    return blog;
  }
  Output Edit(const std::string& blog, const std::string& entry, const EntryEditCommands::Changes& changes) {
    return Capture([&](auto& o, auto& e) { return EntryEditCommands::Edit(blog, entry, changes, true, o, e); });
  }

  testsupport::TempDeviceRoot root;
  testsupport::ScriptedUserInterface ui;
};

}  // namespace

TEST_F(EntryEditCommandsTest, EditStoresWhatChangedMarksItAndKeepsDateOrder) {
  EntryEditCommands::Changes changes;
  changes.title = "Harbour";
  changes.caption = "Boats";
  changes.date = "2024-07-01";
  changes.category = "sea";
  Output edited = Edit("trips", "100", changes);
  ASSERT_EQ(edited.status, CliContext::kOk) << edited.err;
  EXPECT_TRUE(edited.Json()["changed"]);
  auto blog = Load("trips");
  const model::CWinBlogEntry* entry = blog->Entries().At(0);  // newest first: it moved up
  EXPECT_EQ(entry->GetId(), 100u);
  EXPECT_EQ(entry->GetTitle(), "Harbour");
  EXPECT_EQ(entry->GetCaption(), "Boats");
  EXPECT_EQ(entry->GetCategoryId(), 5u);
  EXPECT_EQ(entry->GetDate(), At(2024, 7, 1, 9, 0, 0));  // a date alone keeps the time of day
  EXPECT_TRUE(entry->IsModified());

  // The same values again change nothing and leave a published entry as it was.
  ASSERT_EQ(Edit("trips", "100", changes).status, CliContext::kOk);
  {
    auto again = Load("trips");
    again->Entries().At(0)->SetModified(false);
    ASSERT_EQ(again->Save(), 0u);
  }
  Output same = Edit("trips", "#1", changes);
  EXPECT_FALSE(same.Json()["changed"]);
  EXPECT_FALSE(Load("trips")->Entries().At(0)->IsModified());
}

TEST_F(EntryEditCommandsTest, EditRefusesOtherUsersEntriesAndTextBeyondTheLimits) {
  EntryEditCommands::Changes title;
  title.title = "Renamed";
  ui.ExpectMessage(
      "You cannot edit this blog entry. You may only edit entries that you posted. This entry was posted by another "
      "user.",
      MessageIcon::Exclamation);
  EXPECT_EQ(Edit("club", "300", title).status, CliContext::kFailure);
  EXPECT_EQ(Load("club")->FindEntry(300)->GetTitle(), "Theirs");
  EXPECT_EQ(Edit("club", "301", title).status, CliContext::kOk);

  EntryEditCommands::Changes tooLong;
  tooLong.title = std::string(50, 'x');
  EXPECT_EQ(Edit("trips", "100", tooLong).status, CliContext::kUsage);
  tooLong.title = std::string(49, 'x');
  tooLong.caption = std::string(8000, 'y');
  EXPECT_EQ(Edit("trips", "100", tooLong).status, CliContext::kUsage);
  EntryEditCommands::Changes nowhere;
  nowhere.category = "Mountains";
  EXPECT_EQ(Edit("trips", "100", nowhere).status, CliContext::kUsage);
  EXPECT_EQ(Load("trips")->FindEntry(100)->GetTitle(), "Old");
}

TEST_F(EntryEditCommandsTest, DatesAreWholeAndInRange) {
  const uint32_t base = At(2024, 5, 1, 9, 8, 7);
  EXPECT_EQ(EntryEditCommands::ParseDate("2025-02-03", base), At(2025, 2, 3, 9, 8, 7));
  EXPECT_EQ(EntryEditCommands::ParseDate("2025-02-03T10:11", base), At(2025, 2, 3, 10, 11, 0));
  EXPECT_EQ(EntryEditCommands::ParseDate("2025-02-03 10:11:12", base), At(2025, 2, 3, 10, 11, 12));
  for (const char* bad : {"2025-02-30", "2025-13-01", "1903-12-31", "2025-02-03T10", "2025-02-03T10:11:12x", "soon"}) {
    EXPECT_FALSE(EntryEditCommands::ParseDate(bad, base)) << bad;
  }
}

TEST_F(EntryEditCommandsTest, CategorizeFilesTheChosenEntriesAndKeepsTheStoredFilters) {
  auto run = [](const std::string& blog, const std::string& to, std::optional<std::string> show,
                std::optional<std::string> category) {
    return Capture(
        [&](auto& o, auto& e) { return EntryEditCommands::Categorize(blog, to, show, category, true, o, e); });
  };
  {
    auto blog = Load("trips");
    blog->SetFilters(model::kUnfiledCategoryId, model::kShowAll);
    ASSERT_EQ(blog->Save(), 0u);
  }
  Output pending = run("trips", "Sea", "pending", "all");
  ASSERT_EQ(pending.status, CliContext::kOk) << pending.err;
  EXPECT_EQ(pending.Json()["filed"], 1);
  auto blog = Load("trips");
  EXPECT_EQ(blog->FindEntry(100)->GetCategoryId(), 0u);
  EXPECT_EQ(blog->GetCategoryFilter(), model::kUnfiledCategoryId);
  // Without filters of its own it takes the blog's: Unfiled, where "Unfiled" changes nothing.
  EXPECT_EQ(run("trips", "unfiled", std::nullopt, std::nullopt).Json()["filed"], 0);

  ui.ExpectMessage("Some entries were not categorized because you didn't have permission to edit them.",
                   MessageIcon::Exclamation);
  Output club = run("club", "unfiled", "all", "all");
  EXPECT_EQ(club.status, CliContext::kFailure);
  EXPECT_EQ(club.Json()["filed"], 0);  // entry 301 of user 42 was Unfiled already
}

TEST_F(EntryEditCommandsTest, ImportListsThePickersPhotosAndAddsThoseChosenInOrder) {
  for (const char* name : {"a", "b", "c"}) {
    image::Bitmap bitmap;
    ASSERT_EQ(bitmap.Allocate(16, 16), 0);
    const std::string path = std::string("\\My Documents\\") + name + ".jpg";
    ASSERT_TRUE(image::WriteBitmapAsJpeg(bitmap, root.Host(path).string(), 80));
  }
  auto import = [](const std::string& pick, bool all) {
    return Capture([&](auto& o, auto& e) { return EntryEditCommands::Import("trips", pick, all, true, o, e); });
  };
  Output list = import("", false);
  ASSERT_EQ(list.Json().size(), 3u);
  EXPECT_EQ(list.Json()[0]["number"], 1);
  EXPECT_EQ(import("2,2", false).status, CliContext::kUsage);
  EXPECT_EQ(import("4", false).status, CliContext::kUsage);

  Output added = import("3,1", false);
  ASSERT_EQ(added.status, CliContext::kOk) << added.err;
  ASSERT_EQ(added.Json().size(), 2u);
  EXPECT_EQ(added.Json()[0]["photoPath"], list.Json()[2]["path"]);
  EXPECT_EQ(added.Json()[1]["photoPath"], list.Json()[0]["path"]);
  // What the blog took is no longer offered.
  EXPECT_EQ(import("", false).Json().size(), 1u);
  EXPECT_EQ(import("", true).Json().size(), 1u);
  EXPECT_EQ(Load("trips")->Entries().Count(), 5u);
}

}  // namespace cli
