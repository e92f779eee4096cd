#include <gtest/gtest.h>

#include <filesystem>

#include "model/CWinBlogUser.h"
#include "platform/ErrorCodes.h"
#include "tests/model/ModelTestUtil.h"
#include "tests/support/TempDeviceRoot.h"

using model::CWinBlogStorage;
using model::CWinBlogUser;

namespace {

class UserTest : public ::testing::Test {
 protected:
  CWinBlogStorage* AddBlog(const std::string& name, const std::string& title = "") {
    auto blog = user.MakeBlog(name);
    blog->GetBlogInfo()->title = title;
    EXPECT_EQ(blog->Save(), 0u);
    return user.Blogs().InsertBlog(std::move(blog));
  }
  std::vector<std::string> Order() const {
    std::vector<std::string> names;
    for (const auto& blog : user.Blogs()) names.push_back(blog->Info().urlName);
    return names;
  }

  testsupport::TempDeviceRoot root;
  CWinBlogUser user;
};

}  // namespace

TEST_F(UserTest, ConstructionMakesTheDataFolder) {
  EXPECT_EQ(user.DataFolder(), "\\My Documents\\Morvane\\Tessary");
  EXPECT_TRUE(root.Fs().IsDirectory(user.DataFolder()));
  EXPECT_EQ(user.UserFilePath(), "\\My Documents\\Morvane\\Tessary\\UserInfo.tsu");
}

TEST_F(UserTest, BlogListIsSortedByDisplayName) {
  AddBlog("zeta", "apples");
  AddBlog("beta");
  AddBlog("alpha", "Zoo");
  AddBlog("Gamma");
  AddBlog("delta", "APPLES");
  EXPECT_EQ(Order(), (std::vector<std::string>{"zeta", "delta", "beta", "Gamma", "alpha"}));
  EXPECT_EQ(user.FindBlogIndex("GAMMA"), 3);
  EXPECT_EQ(user.FindBlogIndex("nope"), -1);
  EXPECT_EQ(user.FindBlog(u"ALPHA")->Info().title, "Zoo");
  EXPECT_EQ(user.Blogs().FindBlogByName(u"beta"), user.Blogs().At(2));
  EXPECT_EQ(*user.GetBlogNameAt(0), "zeta");
  EXPECT_EQ(user.GetBlogNameAt(5), nullptr);
  EXPECT_EQ(user.Blogs().At(0)->GetAccount(), &user);
}

TEST_F(UserTest, LoadBlogsTakesEveryDatabaseFileOfTheFolder) {
  AddBlog("a");
  AddBlog("b");
  std::filesystem::rename(root.Host("\\My Documents\\Morvane\\Tessary\\b.tsl"),
                          root.Host("\\My Documents\\Morvane\\Tessary") / "B.TSL");
  modeltest::WriteFile(root, "\\My Documents\\Morvane\\Tessary\\notes.txt", "x");
  root.Fs().CreateFolder("\\My Documents\\Morvane\\Tessary\\dir.tsl");
  CWinBlogUser other;
  EXPECT_EQ(other.LoadUser(), 0u);  // no user file yet
  EXPECT_EQ(other.Blogs().Count(), 2u);
  EXPECT_GE(other.FindBlogIndex("a"), 0);
  EXPECT_GE(other.FindBlogIndex("b"), 0);
}

TEST_F(UserTest, UserFileRoundTripsAndUpgradesVersionZero) {
  user.SetUserId(42);
  user.SetEmail("me@example.com");
  user.SetPassword("pw");
  user.SetProAccount(1);
  user.SetQuota(500);
  user.SetRemoteBlogs({"remote one", "r\xC3\xA9mote"});
  AddBlog("mine");
  user.RebuildBlogNames();
  ASSERT_EQ(user.SaveUser(), 0u);
  const std::vector<uint8_t> bytes = modeltest::ReadHostFile(root.Host(user.UserFilePath()));
  EXPECT_EQ(bytes, modeltest::ArchiveBytes(user));
  EXPECT_EQ(bytes[0], 1);

  CWinBlogUser loaded;
  ASSERT_EQ(loaded.LoadUser(), 0u);
  EXPECT_EQ(loaded.GetEmail(), "me@example.com");
  EXPECT_EQ(loaded.GetQuota(), 500u);
  EXPECT_EQ(loaded.RemoteBlogs(), (std::vector<std::u16string>{u"remote one", u"r\u00e9mote"}));
  EXPECT_TRUE(loaded.IsAgreedBlog("MINE"));
  EXPECT_EQ(loaded.Blogs().Count(), 1u);

  // Version 0 ends after the blog names.
  std::vector<uint8_t> old = {0, 0, 0, 0};
  modeltest::PutU32(old, 7);
  modeltest::PutString(old, "e");
  modeltest::PutString(old, "p");
  modeltest::PutU16(old, 0);
  modeltest::PutU32(old, 0);
  modeltest::PutU16(old, 1);
  old.insert(old.end(), {0xFF, 0xFE, 0xFF, 1, 'x', 0});
  {
    std::FILE* f = std::fopen(root.Host(user.UserFilePath()).c_str(), "wb");
    std::fwrite(old.data(), 1, old.size(), f);
    std::fclose(f);
  }
  CWinBlogUser upgraded;
  ASSERT_EQ(upgraded.LoadUser(), 0u);
  EXPECT_EQ(upgraded.GetUserId(), 7u);
  EXPECT_EQ(upgraded.BlogNames(), (std::vector<std::u16string>{u"x"}));
  EXPECT_TRUE(upgraded.RemoteBlogs().empty());
  ASSERT_EQ(upgraded.SaveUser(), 0u);
  std::vector<uint8_t> expected = old;
  expected[0] = 1;
  modeltest::PutU16(expected, 0);
  EXPECT_EQ(modeltest::ReadHostFile(root.Host(user.UserFilePath())), expected);
}

TEST_F(UserTest, DamagedUserFileStillBuildsTheBlogList) {
  AddBlog("kept");
  modeltest::WriteFile(root, user.UserFilePath(), std::string("\x01\x00\x00\x00\x05", 5));
  CWinBlogUser damaged;
  EXPECT_EQ(damaged.LoadUser(), platform::kErrInvalidData);
  EXPECT_EQ(damaged.Blogs().Count(), 1u);
}

TEST_F(UserTest, SubscriptionBookkeeping) {
  AddBlog("a");
  AddBlog("b");
  AddBlog("c");
  user.MarkAllBlogs();
  user.UnmarkBlog(1);
  user.UnmarkBlog(9);
  size_t position = 0;
  const std::string* name = user.NextMarkedBlog(position);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(*name, "a");
  EXPECT_EQ(position, 0u);
  ++position;
  name = user.NextMarkedBlog(position);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(*name, "c");
  EXPECT_EQ(position, 2u);
  ++position;
  EXPECT_EQ(user.NextMarkedBlog(position), nullptr);

  EXPECT_FALSE(user.IsAgreedBlog("a"));
  user.RebuildBlogNames();
  EXPECT_EQ(user.BlogNames(), (std::vector<std::u16string>{u"a", u"b", u"c"}));
  EXPECT_TRUE(user.IsAgreedBlog("B"));

  user.Blogs().At(0)->newSubscription = true;
  user.Blogs().ClearNewSubscriptions();
  EXPECT_FALSE(user.Blogs().At(0)->newSubscription);
}

TEST_F(UserTest, SampleBlogAndRemoval) {
  ASSERT_EQ(user.CreateSampleBlog(), 0u);
  CWinBlogStorage* sample = user.FindBlog(u"Sample");
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->Info().urlName, "sample");
  EXPECT_EQ(sample->Info().title, "Sample Blog");
  EXPECT_FALSE(sample->Info().HasWriteAccess());
  EXPECT_TRUE(root.Fs().Exists("\\My Documents\\Morvane\\Tessary\\Sample.tsl"));

  ASSERT_EQ(sample->ComputePhotoFolder(), 0u);
  const std::string photo = sample->GetPhotoFolder() + "\\p.jpg";
  modeltest::WriteFile(root, photo, "x");
  auto entry = modeltest::MakeEntry(1, 1);
  entry->photoPath = photo;
  sample->InsertEntry(std::move(entry));
  ASSERT_EQ(user.Blogs().RemoveBlog(sample, true), 0u);
  EXPECT_EQ(user.Blogs().Count(), 0u);
  EXPECT_FALSE(root.Fs().Exists(photo));
  EXPECT_FALSE(root.Fs().Exists("\\My Documents\\Morvane\\Tessary\\Sample.tsl"));
}

TEST_F(UserTest, ABlogWhoseDatabaseCannotBeDeletedStaysWithItsPhotos) {
  CWinBlogStorage* blog = AddBlog("kept");
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  const std::string photo = blog->GetPhotoFolder() + "\\p.jpg";
  modeltest::WriteFile(root, photo, "x");
  auto entry = modeltest::MakeEntry(1, 1);
  entry->photoPath = photo;
  blog->InsertEntry(std::move(entry));
  // A folder in the database's place cannot be unlinked, not even by root.
  std::filesystem::path database;
  ASSERT_EQ(root.Fs().ToHostPath(blog->GetPath(), database), 0u);
  std::filesystem::remove(database);
  std::filesystem::create_directories(database / "inside");

  EXPECT_NE(user.Blogs().RemoveBlog(blog, true), 0u);
  EXPECT_EQ(user.FindBlog(u"kept"), blog);
  EXPECT_TRUE(root.Fs().Exists(photo));
}

TEST_F(UserTest, ReloadFollowsWhatAnotherProgramSaved) {
  CWinBlogStorage* kept = AddBlog("kept", "Kept");
  AddBlog("dropped");
  ASSERT_EQ(user.SaveUser(), 0u);
  EXPECT_FALSE(user.ReloadIfChanged());

  // The other program works on the same files.
  CWinBlogUser other;
  ASSERT_EQ(other.LoadUser(), 0u);
  other.SetEmail("new@example.com");
  ASSERT_EQ(other.SaveUser(), 0u);
  CWinBlogStorage* theirs = other.FindBlog(u"kept");
  theirs->InsertEntry(modeltest::MakeEntry(0, 5, "added there"));
  theirs->GetBlogInfo()->title = "A new title";
  ASSERT_EQ(theirs->Save(), 0u);
  auto created = other.MakeBlog("created");
  ASSERT_EQ(created->Save(), 0u);
  ASSERT_EQ(other.Blogs().RemoveBlog(other.FindBlog(u"dropped"), false), 0u);

  EXPECT_TRUE(user.ReloadIfChanged());
  EXPECT_EQ(user.GetEmail(), "new@example.com");
  EXPECT_EQ(user.FindBlog(u"kept"), kept);
  ASSERT_EQ(kept->Entries().Count(), 1u);
  EXPECT_EQ(kept->Entries().At(0)->GetTitle(), "added there");
  EXPECT_EQ(Order(), (std::vector<std::string>{"kept", "created"}));
  EXPECT_EQ(user.FindBlog(u"dropped"), nullptr);
  // Nothing changed since: nothing is read again, and our own saves do not count.
  EXPECT_FALSE(user.ReloadIfChanged());
  ASSERT_EQ(kept->Save(), 0u);
  ASSERT_EQ(user.SaveUser(), 0u);
  EXPECT_FALSE(user.ReloadIfChanged());
}
