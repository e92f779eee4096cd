#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "platform/ErrorCodes.h"
#include "platform/StringTable.h"
#include "tests/model/ModelTestUtil.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/support/TempDeviceRoot.h"

using model::CWinBlogStorage;
using modeltest::MakeEntry;

namespace {

const char* const kSaveFailed = "There was an error saving the local blog database.";

class StorageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    blog = CWinBlogStorage::ForName(user.DataFolder(), "trips");
    ASSERT_NE(blog, nullptr);
    for (uint32_t i = 1; i <= 20; ++i) {
      auto e = MakeEntry(i, 100 + i, "entry " + std::to_string(i));
      e->SetThumbnail(std::vector<uint8_t>(500, static_cast<uint8_t>(i)));
      blog->InsertEntry(std::move(e));
    }
  }
  std::filesystem::path HostFile() { return root.Host(blog->GetPath()); }
  size_t FilesInDataFolder() {
    size_t n = 0;
    for (const auto& item : std::filesystem::directory_iterator(root.Host(user.DataFolder()))) {
      (void)item;
      ++n;
    }
    return n;
  }

  testsupport::TempDeviceRoot root;
  model::CWinBlogUser user;
  std::unique_ptr<CWinBlogStorage> blog;
};

}  // namespace

TEST_F(StorageFileTest, SaveAndLoadRoundTripTheFileExactly) {
  EXPECT_EQ(blog->GetPath(), "\\My Documents\\Morvane\\Tessary\\trips.tsl");
  ASSERT_EQ(blog->Save(), 0u);
  std::vector<uint8_t> saved = modeltest::ReadHostFile(HostFile());
  EXPECT_EQ(saved, modeltest::ArchiveBytes(*blog));

  CWinBlogStorage loaded;
  loaded.SetPath(blog->GetPath());
  ASSERT_EQ(loaded.Load(), 0u);
  EXPECT_EQ(loaded.Entries().Count(), 20u);
  EXPECT_EQ(loaded.Info().urlName, "trips");
  ASSERT_EQ(loaded.Save(), 0u);
  EXPECT_EQ(modeltest::ReadHostFile(HostFile()), saved);
  EXPECT_EQ(FilesInDataFolder(), 1u);  // no temporary file left behind
}

TEST_F(StorageFileTest, MissingFileLoadsAsEmpty) {
  CWinBlogStorage fresh;
  fresh.SetPath("\\My Documents\\Morvane\\Tessary\\none.tsl");
  EXPECT_EQ(fresh.Load(), 0u);
  EXPECT_EQ(fresh.Entries().Count(), 0u);
}

TEST_F(StorageFileTest, FailedWriteAtAnyPointKeepsThePreviousFile) {
  // Count the writes of one save, then fail each of them in turn.
  int writes = 0;
  root.Fs().SetWriteFault([&writes](const std::string&, uint32_t) {
    ++writes;
    return 0u;
  });
  ASSERT_EQ(blog->Save(), 0u);
  const int perSave = writes;
  ASSERT_GE(perSave, 3);  // several buffers, then the sync
  const std::vector<uint8_t> previous = modeltest::ReadHostFile(HostFile());
  blog->InsertEntry(MakeEntry(99, 1, "unsaved"));

  for (int failAt = 0; failAt < perSave; ++failAt) {
    int n = 0;
    root.Fs().SetWriteFault([&n, failAt](const std::string&, uint32_t) {
      return n++ == failAt ? platform::kErrDiskFull : 0u;
    });
    EXPECT_EQ(blog->Save(), 0xFFFFFFFFu) << failAt;
    EXPECT_EQ(modeltest::ReadHostFile(HostFile()), previous) << failAt;
    EXPECT_EQ(FilesInDataFolder(), 1u) << failAt;
  }
  root.Fs().SetWriteFault(nullptr);
  ASSERT_EQ(blog->Save(), 0u);
  EXPECT_EQ(modeltest::ReadHostFile(HostFile()), modeltest::ArchiveBytes(*blog));
}

TEST_F(StorageFileTest, SaveRemovesTemporaryFilesThatAKilledSaveLeftBehind) {
  ASSERT_EQ(blog->Save(), 0u);
  const std::filesystem::path folder = root.Host(user.DataFolder());
  std::ofstream(folder / "~sav1A2B.tmp") << "half a database";
  std::ofstream(folder / "~SAV00FF.TMP") << "another";
  std::ofstream(folder / "notes.tmp") << "not ours";
  // A save under way in another program keeps its file locked until it is renamed.
  std::ofstream(folder / "~sav7777.tmp") << "being written";
  const int busy = ::open((folder / "~sav7777.tmp").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(busy, LOCK_EX), 0);

  ASSERT_EQ(blog->Save(), 0u);
  EXPECT_FALSE(std::filesystem::exists(folder / "~sav1A2B.tmp"));
  EXPECT_FALSE(std::filesystem::exists(folder / "~SAV00FF.TMP"));
  EXPECT_TRUE(std::filesystem::exists(folder / "notes.tmp"));
  EXPECT_TRUE(std::filesystem::exists(folder / "~sav7777.tmp"));
  ::close(busy);
}

TEST_F(StorageFileTest, SaveThatCannotCreateItsFileIsReported) {
  testsupport::ScriptedUserInterface ui;
  ui.ExpectMessage(kSaveFailed, model::MessageIcon::Error);
  blog->SetPath("\\No Such Folder\\trips.tsl");
  uint32_t rc = blog->Save();
  EXPECT_NE(rc, 0u);
  EXPECT_NE(rc, 0xFFFFFFFFu);
}

TEST_F(StorageFileTest, VersionZeroFilesDropTheirCommentsOnce) {
  auto comment = std::make_unique<model::CWinBlogComment>();
  comment->SetId(5);
  blog->InsertComment(std::move(comment));
  blog->SetLastSync(777);
  std::vector<uint8_t> bytes = modeltest::ArchiveBytes(*blog);
  bytes[0] = 0;  // the first format version
  {
    std::FILE* f = std::fopen(HostFile().c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  CWinBlogStorage old;
  old.SetPath(blog->GetPath());
  ASSERT_EQ(old.Load(), 0u);
  EXPECT_EQ(old.GetVersion(), 0);
  EXPECT_EQ(old.Comments().Count(), 0u);
  EXPECT_EQ(old.GetLastSync(), 0u);
  EXPECT_EQ(old.Entries().Count(), 20u);
  ASSERT_EQ(old.Save(), 0u);
  std::vector<uint8_t> upgraded = modeltest::ReadHostFile(HostFile());
  EXPECT_EQ(upgraded[0], 1);
  CWinBlogStorage again;
  again.SetPath(blog->GetPath());
  ASSERT_EQ(again.Load(), 0u);
  EXPECT_EQ(again.GetVersion(), 1);
  EXPECT_EQ(again.Entries().Count(), 20u);
}

TEST_F(StorageFileTest, CorruptFileLoadsWhatIsWholeAndFails) {
  ASSERT_EQ(blog->Save(), 0u);
  std::filesystem::resize_file(HostFile(), std::filesystem::file_size(HostFile()) - 700);
  CWinBlogStorage damaged;
  damaged.SetPath(blog->GetPath());
  EXPECT_NE(damaged.Load(), 0u);
  EXPECT_EQ(damaged.Entries().Count(), 18u);
  EXPECT_EQ(damaged.Entries().At(17)->GetTitle(), "entry 3");
}

TEST_F(StorageFileTest, BlogNamesMustStayInsideTheDataFolder) {
  for (const char* bad : {"", "..", "a\\b", "a/b", "c:x", "tab\there", "..\\..\\Windows"}) {
    EXPECT_EQ(CWinBlogStorage::ForName(user.DataFolder(), bad), nullptr) << bad;
    EXPECT_EQ(user.MakeBlog(bad), nullptr) << bad;
  }
  EXPECT_NE(CWinBlogStorage::ForName(user.DataFolder(), "my.blog"), nullptr);
}
