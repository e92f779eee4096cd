#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliContext.h"
#include "cli/DumpCommand.h"
#include "cli/ModelCommands.h"
#include "image/Bitmap.h"
#include "image/JpegWriter.h"
#include "model/CWinBlogUser.h"
#include "tests/cli/CommandOutput.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/support/TempDeviceRoot.h"

namespace cli {

using model::CWinBlogStorage;
using model::MessageIcon;

namespace {

// A device with a logged-in account (user 42) and its writable blog "trips".
class ModelCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model::CWinBlogUser user;
    user.SetUserId(42);
    ASSERT_EQ(user.SaveUser(), 0u);
    auto blog = user.MakeBlog("trips");
    blog->GetBlogInfo()->ownerId = 42;
    ASSERT_EQ(blog->Save(), 0u);
    photo = (root.HostRoot() / "photo.jpg").string();
    image::Bitmap bitmap;
    ASSERT_EQ(bitmap.Allocate(40, 30), 0);
    ASSERT_TRUE(image::WriteBitmapAsJpeg(bitmap, photo, 80));
  }
  std::unique_ptr<CWinBlogStorage> LoadTrips() {
    auto blog = std::make_unique<CWinBlogStorage>();
    blog->SetPath("\\My Documents\\Morvane\\Tessary\\trips.tsl");
    EXPECT_EQ(blog->Load(), 0u);
    return blog;
  }
  Output Add(const std::string& category = "", const std::string& title = "") {
    return Capture([&](auto& o, auto& e) {
      return ModelCommands::Add("trips", {photo}, title, "", category, true, o, e);
    });
  }

  testsupport::TempDeviceRoot root;
  std::string photo;
};

}  // namespace

TEST_F(ModelCommandsTest, AddMakesPendingEntriesFromPhotosOfTheHost) {
  testsupport::ScriptedUserInterface ui;
  Output first = Add("", "Beach");
  ASSERT_EQ(first.status, CliContext::kOk) << first.err;
  Output second = Add();
  ASSERT_EQ(second.status, CliContext::kOk) << second.err;
  EXPECT_EQ(first.Json()[0]["photoPath"], "\\My Documents\\My Pictures\\trips\\photo.jpg");
  EXPECT_EQ(second.Json()[0]["photoPath"], "\\My Documents\\My Pictures\\trips\\photo_1.jpg");

  auto blog = LoadTrips();
  ASSERT_EQ(blog->Entries().Count(), 2u);
  const model::CWinBlogEntry* beach = blog->FindLocalEntry(0, "Beach", nullptr, 0);
  ASSERT_NE(beach, nullptr);
  EXPECT_TRUE(beach->IsModified());
  EXPECT_EQ(beach->GetPhotoSize(), model::kSizeFull);
  EXPECT_FALSE(beach->GetThumbnail().empty());

  // The same device photo twice is refused; a missing one too.
  Output again = Capture([&](auto& o, auto& e) {
    return ModelCommands::Add("trips", {beach->photoPath, "\\nowhere.jpg"}, "", "", "", false, o, e);
  });
  EXPECT_EQ(again.status, CliContext::kFailure);
  EXPECT_EQ(LoadTrips()->Entries().Count(), 2u);

  Output listed = Capture([](auto& o, auto& e) {
    return ModelCommands::Entries("trips", "pending", "all", true, o, e);
  });
  ASSERT_EQ(listed.status, CliContext::kOk);
  ASSERT_EQ(listed.Json().size(), 2u);
  EXPECT_EQ(listed.Json()[0]["position"], 1);
  EXPECT_EQ(listed.Json()[0]["state"], "pending");
}

TEST_F(ModelCommandsTest, ReadOnlyBlogsRefuseNewEntries) {
  {
    model::CWinBlogUser user;
    user.LoadUser();
    ASSERT_EQ(user.CreateSampleBlog(), 0u);
  }
  testsupport::ScriptedUserInterface ui;
  ui.ExpectMessage(
      "You do not have permission to edit this blog. If you expect to have write access, check "
      "that your login information in Account Info is correct.",
      MessageIcon::Exclamation);
  Output o = Capture([&](auto& out, auto& err) {
    return ModelCommands::Add("sample", {photo}, "", "", "", false, out, err);
  });
  EXPECT_EQ(o.status, CliContext::kFailure);
  EXPECT_EQ(Capture([](auto& out, auto& err) { return ModelCommands::Add("none", {}, "", "", "", false, out, err); }).status,
            CliContext::kFailure);
}

TEST_F(ModelCommandsTest, CategoriesAreAddedRenamedAndDeleted) {
  testsupport::ScriptedUserInterface ui;
  auto cat = [](auto f) { return Capture(f).status; };
  EXPECT_EQ(cat([](auto& o, auto& e) { return ModelCommands::CategoryAdd("trips", "Sea", o, e); }),
            CliContext::kOk);
  ui.ExpectMessage("A category with that name already exists. Please use a different name.",
                   MessageIcon::Error);
  EXPECT_EQ(cat([](auto& o, auto& e) { return ModelCommands::CategoryAdd("trips", "SEA", o, e); }),
            CliContext::kFailure);
  ASSERT_EQ(Add("sea").status, CliContext::kOk);
  EXPECT_EQ(LoadTrips()->Entries().At(0)->GetCategoryId(), model::kFirstLocalCategoryId);

  // A change of letter case only is a rename.
  EXPECT_EQ(cat([](auto& o, auto& e) { return ModelCommands::CategoryRename("trips", "sea", "SEA", o, e); }),
            CliContext::kOk);
  EXPECT_EQ(LoadTrips()->Categories().At(0)->GetName(), "SEA");

  const std::string question =
      "Deleting a category will cause all entries in that category to be moved to Unfiled. Do "
      "you wish to continue?";
  ui.ExpectQuestion(question, false).ExpectQuestion(question, true);
  EXPECT_EQ(cat([](auto& o, auto& e) { return ModelCommands::CategoryDelete("trips", "sea", o, e); }),
            CliContext::kOk);
  EXPECT_EQ(LoadTrips()->GetCategoryCount(), 1u);
  EXPECT_EQ(cat([](auto& o, auto& e) { return ModelCommands::CategoryDelete("trips", "sea", o, e); }),
            CliContext::kOk);
  auto blog = LoadTrips();
  EXPECT_EQ(blog->GetCategoryCount(), 0u);
  EXPECT_EQ(blog->DeletedCategories().Count(), 1u);
  EXPECT_EQ(blog->Entries().At(0)->GetCategoryId(), 0u);
}

TEST_F(ModelCommandsTest, DeleteNamesEntriesByIdOrPosition) {
  testsupport::ScriptedUserInterface ui;
  ASSERT_EQ(Add().status, CliContext::kOk);
  {
    auto blog = LoadTrips();
    auto published = std::make_unique<model::CWinBlogEntry>();
    published->SetId(777);
    published->SetDate(1);
    published->SetModified(false);
    blog->InsertEntry(std::move(published));
    ASSERT_EQ(blog->Save(), 0u);
  }
  Output bad = Capture([](auto& o, auto& e) { return ModelCommands::Delete("trips", "#9", false, false, o, e); });
  EXPECT_EQ(bad.status, CliContext::kFailure);
  Output byId = Capture([](auto& o, auto& e) { return ModelCommands::Delete("trips", "777", true, false, o, e); });
  EXPECT_EQ(byId.status, CliContext::kOk) << byId.err;
  Output byPosition =
      Capture([](auto& o, auto& e) { return ModelCommands::Delete("trips", "#1", false, true, o, e); });
  EXPECT_EQ(byPosition.status, CliContext::kOk) << byPosition.err;
  auto blog = LoadTrips();
  EXPECT_EQ(blog->DeletedEntries().Count(), 1u);
  ASSERT_EQ(blog->Entries().Count(), 1u);
  EXPECT_TRUE(blog->Entries().At(0)->IsRemoved());
  EXPECT_TRUE(blog->Entries().At(0)->photoPath.empty());
  EXPECT_FALSE(root.Fs().Exists("\\My Documents\\My Pictures\\trips\\photo.jpg"));
}

TEST_F(ModelCommandsTest, PurgeAsksAndMoveNeedsKnownLocations) {
  testsupport::ScriptedUserInterface ui;
  ASSERT_EQ(Add().status, CliContext::kOk);
  const std::string question =
      "Delete the photos for all blog entries shown? The entries will remain with thumbnails only.";
  ui.ExpectQuestion(question, false);
  EXPECT_EQ(Capture([](auto& o, auto& e) { return ModelCommands::Purge("trips", o, e); }).status, CliContext::kOk);
  EXPECT_TRUE(root.Fs().Exists("\\My Documents\\My Pictures\\trips\\photo.jpg"));

  ui.ExpectMessage(
      "Your device doesn't currently have any external storage cards. Insert a storage card and try again.",
      MessageIcon::Exclamation);
  EXPECT_EQ(Capture([](auto& o, auto& e) { return ModelCommands::Move("trips", "internal", "SD Card", nullptr, o, e); })
                .status,
            CliContext::kFailure);
  std::filesystem::create_directories(root.HostRoot() / ".card");
  std::filesystem::create_directory_symlink(root.HostRoot() / ".card", root.HostRoot() / "SD Card");
  Output unknown = Capture([](auto& o, auto& e) {
    return ModelCommands::Move("trips", "internal", "Nowhere", nullptr, o, e);
  });
  EXPECT_EQ(unknown.status, CliContext::kUsage);
  testsupport::RecordingProgress progress;
  Output moved = Capture([&](auto& o, auto& e) {
    return ModelCommands::Move("trips", "internal", "sd card", &progress, o, e);
  });
  ASSERT_EQ(moved.status, CliContext::kOk) << moved.err;
  EXPECT_EQ(LoadTrips()->Entries().At(0)->photoPath, "\\SD Card\\DCIM\\trips\\photo.jpg");

  ui.ExpectMessage("You've specified the same location for the source and destination.", MessageIcon::Exclamation);
  EXPECT_EQ(Capture([](auto& o, auto& e) { return ModelCommands::Move("trips", "SD Card", "sd card", nullptr, o, e); })
                .status,
            CliContext::kUsage);

  // A pending entry keeps its photo; a published one loses it.
  ui.ExpectQuestion(question, true);
  Output purged = Capture([](auto& o, auto& e) { return ModelCommands::Purge("trips", o, e); });
  EXPECT_EQ(purged.status, CliContext::kOk);
  EXPECT_EQ(purged.out, "Deleted 0 photo files; 1 pending kept\n");
  EXPECT_FALSE(LoadTrips()->Entries().At(0)->photoPath.empty());
  auto trips = LoadTrips();
  trips->Entries().At(0)->SetId(9);
  ASSERT_EQ(trips->Save(), 0u);
  ui.ExpectQuestion("Delete the photo for this blog entry? The thumbnail will remain.", true);
  purged = Capture([](auto& o, auto& e) { return ModelCommands::PurgeEntry("trips", "9", o, e); });
  EXPECT_EQ(purged.status, CliContext::kOk) << purged.err;
  EXPECT_TRUE(LoadTrips()->Entries().At(0)->photoPath.empty());
  EXPECT_FALSE(root.Fs().Exists("\\SD Card\\DCIM\\trips\\photo.jpg"));
  EXPECT_TRUE(ui.Done());
}

TEST_F(ModelCommandsTest, DumpAndRewriteTellFilesApartByContent) {
  testsupport::ScriptedUserInterface ui;
  ASSERT_EQ(Add("", "Dumped").status, CliContext::kOk);
  const std::string database = root.Host("\\My Documents\\Morvane\\Tessary\\trips.tsl").string();
  const std::string renamed = (root.HostRoot() / "anything.bin").string();
  std::filesystem::copy_file(database, renamed);
  Output dumped = Capture([&](auto& o, auto& e) { return DumpCommand::Dump(renamed, o, e); });
  ASSERT_EQ(dumped.status, CliContext::kOk) << dumped.err;
  nlohmann::json doc = dumped.Json();
  EXPECT_EQ(doc["kind"], "database");
  EXPECT_EQ(doc["entries"][0]["title"], "Dumped");
  EXPECT_GT(doc["entries"][0]["thumbnail"]["length"].get<int>(), 0);
  EXPECT_EQ(doc["entries"][0]["thumbnail"]["sha1"].get<std::string>().size(), 40u);
  EXPECT_EQ(doc["entries"][0]["date"]["local"].get<std::string>().size(), 19u);

  Output user = Capture([&](auto& o, auto& e) {
    return DumpCommand::Dump(root.Host("\\My Documents\\Morvane\\Tessary\\UserInfo.tsu").string(), o, e);
  });
  ASSERT_EQ(user.status, CliContext::kOk);
  EXPECT_EQ(user.Json()["kind"], "user");
  EXPECT_EQ(user.Json()["userId"], 42);

  // A damaged database: what was read, the reason, exit 1; rewrite leaves it alone.
  std::filesystem::resize_file(renamed, std::filesystem::file_size(renamed) - 20);
  const auto before = std::filesystem::file_size(renamed);
  Output damaged = Capture([&](auto& o, auto& e) { return DumpCommand::Dump(renamed, o, e); });
  EXPECT_EQ(damaged.status, CliContext::kFailure);
  EXPECT_EQ(damaged.Json()["kind"], "database");
  EXPECT_TRUE(damaged.Json().contains("error"));
  EXPECT_FALSE(damaged.err.empty());
  EXPECT_EQ(Capture([&](auto& o, auto& e) { return DumpCommand::Rewrite(renamed, o, e); }).status,
            CliContext::kFailure);
  EXPECT_EQ(std::filesystem::file_size(renamed), before);

  // Version 0 is upgraded in place.
  std::vector<char> bytes(std::filesystem::file_size(database));
  std::ifstream(database, std::ios::binary).read(bytes.data(), static_cast<long>(bytes.size()));
  bytes[0] = 0;
  std::ofstream(renamed, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<long>(bytes.size()));
  ASSERT_EQ(Capture([&](auto& o, auto& e) { return DumpCommand::Rewrite(renamed, o, e); }).status, CliContext::kOk);
  std::ifstream check(renamed, std::ios::binary);
  EXPECT_EQ(check.get(), 1);
}

}  // namespace cli
