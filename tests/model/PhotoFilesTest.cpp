#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "net/SmallStream.h"
#include "net/Win32LargeStream.h"
#include "net/Win32SmallStream.h"
#include "platform/DeviceFacts.h"
#include "platform/ErrorCodes.h"
#include "platform/Registry.h"
#include "tests/model/ModelTestUtil.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/support/TempDeviceRoot.h"

using model::CWinBlogStorage;
using modeltest::MakeEntry;

namespace {

class PhotoFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    blog = user.MakeBlog("trips");
    ASSERT_NE(blog, nullptr);
  }
  // An entry whose photo file exists at `path`.
  model::CWinBlogEntry* AddPhoto(uint32_t id, const std::string& path) {
    modeltest::WriteFile(root, path, "photo " + path);
    auto e = MakeEntry(id, 1000 - id);
    e->photoPath = path;
    e->SetPhotoSize(model::kSizeFull);
    model::CWinBlogEntry* raw = e.get();
    blog->InsertEntry(std::move(e));
    return raw;
  }

  // The phone paths the saved database names.
  std::vector<std::string> SavedPaths() {
    CWinBlogStorage saved;
    saved.SetPath(blog->GetPath());
    EXPECT_EQ(saved.Load(), 0u);
    std::vector<std::string> paths;
    for (const auto& e : saved.Entries()) paths.push_back(e->photoPath);
    return paths;
  }
  // Names of the files in a folder of the device.
  std::set<std::string> FilesIn(const std::string& folder) {
    std::vector<platform::FileInfo> items;
    root.Fs().Enumerate(folder, items);
    std::set<std::string> names;
    for (const auto& item : items) names.insert(item.name);
    return names;
  }

  testsupport::TempDeviceRoot root;
  model::CWinBlogUser user;
  std::unique_ptr<CWinBlogStorage> blog;
};

// A storage card "\SD" on another file system than the device root where the
// machine has one (a tmpfs), else in a folder elsewhere; removed at the end.
class OtherCard {
 public:
  explicit OtherCard(testsupport::TempDeviceRoot& root) {
    struct stat shm {}, device {};
    const bool tmpfs = ::stat("/dev/shm", &shm) == 0 && ::stat(root.HostRoot().c_str(), &device) == 0 &&
                       shm.st_dev != device.st_dev && ::access("/dev/shm", W_OK) == 0;
    std::string pattern = ((tmpfs ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
                           "tessary-card-XXXXXX")
                              .string();
    store_ = ::mkdtemp(pattern.data());
    std::filesystem::create_directory_symlink(store_, root.HostRoot() / "SD");
  }
  ~OtherCard() { std::filesystem::remove_all(store_); }
  std::string Path() const { return "\\SD"; }

 private:
  std::filesystem::path store_;
};

}  // namespace

TEST_F(PhotoFilesTest, PhotoFolderPrefersTheStorageCard) {
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  EXPECT_EQ(blog->GetPhotoFolder(), "\\My Documents\\My Pictures\\trips");
  EXPECT_TRUE(root.Fs().IsDirectory(blog->GetPhotoFolder()));

  std::string card = modeltest::MakeCard(root, "Storage Card");
  EXPECT_EQ(CWinBlogStorage::FindStorageCard(), card);
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  EXPECT_EQ(blog->GetPhotoFolder(), "\\Storage Card\\DCIM\\trips");
  EXPECT_TRUE(root.Fs().IsDirectory("\\Storage Card\\DCIM\\trips"));

  std::string there;
  ASSERT_EQ(blog->PhotoFolderOn("\\", there), 0u);
  EXPECT_EQ(there, "\\My Documents\\My Pictures\\trips");
  EXPECT_EQ(blog->GetPhotoFolder(), "\\Storage Card\\DCIM\\trips");
}

TEST_F(PhotoFilesTest, LegacyCameraFolderOnOlderPhones) {
  platform::DeviceFacts saved = platform::DeviceFacts::Current();
  platform::DeviceFacts::Current().osMajorVersion = 4;
  root.Fs().CreateFolders("\\Windows\\Camera");
  platform::RegistryHandle key = nullptr;
  ASSERT_EQ(platform::RegCreateKey(platform::Hive::LocalMachine, "SOFTWARE\\HTC\\Camera", key), 0u);
  const std::u16string path = u"\\Windows\\Camera";
  platform::RegSetValue(key, "Path", platform::kRegString, path.c_str(),
                        static_cast<uint32_t>((path.size() + 1) * 2));
  platform::RegCloseKey(key);

  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  EXPECT_EQ(blog->GetPhotoFolder(), "\\My Documents\\My Photos\\trips");
  modeltest::MakeCard(root, "SD");
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  EXPECT_EQ(blog->GetPhotoFolder(), "\\SD\\My Documents\\My Photos\\trips");
  platform::DeviceFacts::Current().osMajorVersion = 5;
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  EXPECT_EQ(blog->GetPhotoFolder(), "\\SD\\DCIM\\trips");
  platform::DeviceFacts::Current() = saved;
}

TEST_F(PhotoFilesTest, HostileUrlNameGetsNoPhotoFolder) {
  blog->GetBlogInfo()->urlName = "..\\..\\escape";
  EXPECT_NE(blog->ComputePhotoFolder(), 0u);
  EXPECT_TRUE(blog->GetPhotoFolder().empty());
}

TEST_F(PhotoFilesTest, DownloadedFilesArePlainNamedAndNeverPartial) {
  std::unique_ptr<net::Stream> stream = net::Win32SmallStream::Create();
  ASSERT_NE(stream, nullptr);
  std::string payload(10000, 'j');
  ASSERT_TRUE(stream->Write(payload.data(), static_cast<uint32_t>(payload.size())));
  for (const char* bad : {"", "..", "a\\b.jpg", "../x.jpg", "a/b", "x\ny.jpg", "..jpg"}) {
    EXPECT_EQ(blog->WriteDownloadedFile(bad, stream), platform::kErrInvalidName) << bad;
  }
  EXPECT_TRUE(blog->GetPhotoFolder().empty());

  int writes = 0;
  root.Fs().SetWriteFault([&writes](const std::string&, uint32_t) {
    return ++writes == 1 ? platform::kErrDiskFull : 0u;
  });
  EXPECT_EQ(blog->WriteDownloadedFile("big.jpg", stream), platform::kErrDiskFull);
  EXPECT_FALSE(root.Fs().Exists(blog->GetPhotoFolder() + "\\big.jpg"));
  root.Fs().SetWriteFault(nullptr);

  ASSERT_EQ(blog->WriteDownloadedFile("big.jpg", stream), 0u);
  auto* reader = dynamic_cast<net::Win32LargeStream*>(stream.get());
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->Path(), "\\My Documents\\My Pictures\\trips\\big.jpg");
  EXPECT_EQ(reader->GetSize(), payload.size());
  uint8_t first = 0;
  ASSERT_TRUE(reader->ReadByte(first));
  EXPECT_EQ(first, 'j');
}

TEST_F(PhotoFilesTest, PurgeDeletesShownPhotosAndTidiesTheFolder) {
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  const std::string folder = blog->GetPhotoFolder();
  auto* a = AddPhoto(1, folder + "\\a.jpg");
  auto* b = AddPhoto(2, folder + "\\b.jpg");
  auto* pending = AddPhoto(0, folder + "\\pending.jpg");
  b->SetCategoryId(4);
  a->SetThumbnail({1, 2});
  blog->SetFilters(0, model::kShowAll);
  blog->PurgeShownPhotos();
  ASSERT_EQ(blog->Save(), 0u);
  EXPECT_TRUE(a->photoPath.empty());
  EXPECT_TRUE(root.Fs().Exists(pending->photoPath));
  blog->DiscardEntry(pending, false, true);
  EXPECT_EQ(a->GetThumbnail().size(), 2u);
  EXPECT_EQ(a->GetPhotoSize(), model::kSizeFull);
  EXPECT_TRUE(root.Fs().Exists(folder + "\\b.jpg"));
  EXPECT_TRUE(root.Fs().IsDirectory(folder));
  blog->PurgeAllPhotos();
  ASSERT_EQ(blog->Save(), 0u);
  EXPECT_FALSE(root.Fs().Exists(folder + "\\b.jpg"));
  EXPECT_FALSE(root.Fs().IsDirectory(folder));
}

TEST_F(PhotoFilesTest, MovePhotosBetweenMainMemoryAndCard) {
  std::string card = modeltest::MakeCard(root, "Storage Card");
  ASSERT_EQ(root.Fs().CreateFolders("\\My Documents\\My Pictures\\trips"), 0u);
  ASSERT_EQ(root.Fs().CreateFolders("\\Storage Card\\DCIM\\trips"), 0u);
  auto* inMemory = AddPhoto(1, "\\My Documents\\My Pictures\\trips\\one.jpg");
  auto* onCard = AddPhoto(2, "\\Storage Card\\DCIM\\trips\\two.jpg");
  auto* elsewhere = AddPhoto(3, "\\Temp\\three.jpg");
  auto* missing = MakeEntry(4, 1).release();
  missing->photoPath = "\\My Documents\\gone.jpg";
  blog->InsertEntry(std::unique_ptr<model::CWinBlogEntry>(missing));
  modeltest::WriteFile(root, "\\Storage Card\\DCIM\\trips\\one.jpg", "stale");

  testsupport::RecordingProgress progress;
  ASSERT_EQ(blog->MovePhotos(&progress, "\\", card), 0u);
  EXPECT_EQ(inMemory->photoPath, "\\Storage Card\\DCIM\\trips\\one.jpg");
  EXPECT_EQ(modeltest::ReadHostFile(root.Host(inMemory->photoPath)).size(),
            std::string("photo \\My Documents\\My Pictures\\trips\\one.jpg").size());
  EXPECT_EQ(onCard->photoPath, "\\Storage Card\\DCIM\\trips\\two.jpg");
  EXPECT_EQ(elsewhere->photoPath, "\\Temp\\three.jpg");
  EXPECT_EQ(missing->photoPath, "\\My Documents\\gone.jpg");
  EXPECT_EQ(progress.texts, (std::vector<std::string>{"one.jpg", "gone.jpg"}));
  EXPECT_FALSE(root.Fs().IsDirectory("\\My Documents\\My Pictures\\trips"));
  EXPECT_TRUE(root.Fs().Exists(blog->GetPath()));  // saved

  // Moving onto the same location leaves the photos where they are.
  ASSERT_EQ(blog->MovePhotos(nullptr, card, card), 0u);
  EXPECT_TRUE(root.Fs().Exists(onCard->photoPath));

  ASSERT_EQ(blog->MovePhotos(nullptr, card, "\\"), 0u);
  EXPECT_EQ(onCard->photoPath, "\\My Documents\\My Pictures\\trips\\two.jpg");
  EXPECT_TRUE(root.Fs().Exists(onCard->photoPath));
}

TEST_F(PhotoFilesTest, MoveStopsOnCancelAndKeepsWhatMoved) {
  std::string card = modeltest::MakeCard(root, "Storage Card");
  root.Fs().CreateFolders("\\My Documents\\My Pictures\\trips");
  auto* first = AddPhoto(1, "\\My Documents\\My Pictures\\trips\\1.jpg");
  auto* second = AddPhoto(2, "\\My Documents\\My Pictures\\trips\\2.jpg");
  testsupport::RecordingProgress progress(1);
  EXPECT_EQ(blog->MovePhotos(&progress, "\\", card), platform::kErrCancelled);
  EXPECT_EQ(first->photoPath, "\\Storage Card\\DCIM\\trips\\1.jpg");
  EXPECT_EQ(second->photoPath, "\\My Documents\\My Pictures\\trips\\2.jpg");
  CWinBlogStorage saved;
  saved.SetPath(blog->GetPath());
  ASSERT_EQ(saved.Load(), 0u);
  EXPECT_EQ(saved.FindEntry(1)->photoPath, first->photoPath);
}

TEST_F(PhotoFilesTest, HasPhotoIgnoresCaseAndRemovedEntries) {
  auto* a = AddPhoto(1, "\\My Documents\\A.jpg");
  EXPECT_TRUE(blog->HasPhoto(u"\\my documents\\a.JPG"));
  EXPECT_FALSE(blog->HasPhoto(u"\\My Documents\\B.jpg"));
  a->MarkRemoved();
  EXPECT_FALSE(blog->HasPhoto(u"\\My Documents\\A.jpg"));
}

TEST_F(PhotoFilesTest, NewLocalEntryIsAPendingFullSizePhoto) {
  const std::string path = "\\My Documents\\My Pictures\\cam.jpg";
  modeltest::WriteJpeg(root, path, 64, 48);
  ASSERT_EQ(root.Fs().SetLastWriteTime(path, 3000000000u), 0u);
  blog->SetFilters(0xFFFFFF01u, model::kShowAll);
  model::CWinBlogEntry entry;
  blog->NewLocalEntry(entry, path);
  EXPECT_EQ(entry.GetCategoryId(), 0xFFFFFF01u);
  EXPECT_EQ(entry.GetDate(), 3000000000u);
  EXPECT_EQ(entry.GetDate2(), 3000000000u);
  EXPECT_EQ(entry.GetPhotoSize(), model::kSizeFull);
  EXPECT_EQ(entry.photoPath, path);
  EXPECT_TRUE(entry.IsModified());
  EXPECT_FALSE(entry.HasId());
  EXPECT_FALSE(entry.GetThumbnail().empty());
  uint16_t w = 0, h = 0;
  entry.GetPhotoDimensions(w, h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 48);
}

TEST_F(PhotoFilesTest, NewLocalEntryRefusesAFileThatIsNotAJpegPhoto) {
  testsupport::ScriptedUserInterface ui;
  modeltest::WriteFile(root, "\\My Documents\\notes.jpg", "plain text");
  ui.ExpectMessage("\"notes.jpg\" is not a JPEG photo.", model::MessageIcon::Exclamation);
  model::CWinBlogEntry entry;
  EXPECT_EQ(blog->NewLocalEntry(entry, "\\My Documents\\notes.jpg"), model::kResultNotJpeg);
  EXPECT_TRUE(entry.photoPath.empty());
  EXPECT_TRUE(ui.Done());
}

TEST_F(PhotoFilesTest, DeletedPhotosGoOnlyAfterTheDatabaseIsSaved) {
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  const std::string photo = blog->GetPhotoFolder() + "\\pending.jpg";
  model::CWinBlogEntry* entry = AddPhoto(0, photo);
  entry->SetModified(true);
  ASSERT_EQ(blog->Save(), 0u);
  blog->DiscardEntry(entry, false, true);
  // The database that no longer names the photo could not be written: the photo stays.
  root.Fs().SetWriteFault([](const std::string&, uint32_t) { return platform::kErrDiskFull; });
  EXPECT_NE(blog->Save(), 0u);
  EXPECT_TRUE(root.Fs().Exists(photo));
  root.Fs().SetWriteFault(nullptr);
  ASSERT_EQ(blog->Save(), 0u);
  EXPECT_FALSE(root.Fs().Exists(photo));
  EXPECT_EQ(blog->PhotoDeletionResult(), 0u);
}

TEST_F(PhotoFilesTest, APhotoThatCannotBeDeletedKeepsItsPath) {
  ASSERT_EQ(blog->ComputePhotoFolder(), 0u);
  const std::string photo = blog->GetPhotoFolder() + "\\kept.jpg";
  model::CWinBlogEntry* entry = AddPhoto(3, photo);
  blog->DeletePhotoAtSave(*entry);
  EXPECT_TRUE(entry->photoPath.empty());
  // A folder in the photo's place cannot be deleted as a file.
  std::filesystem::remove(root.Host(photo));
  std::filesystem::create_directory(root.Host(photo));
  ASSERT_EQ(blog->Save(), 0u);
  EXPECT_EQ(blog->PhotoDeletionResult(), platform::kErrAccessDenied);
  EXPECT_EQ(entry->photoPath, photo);
  CWinBlogStorage saved;
  saved.SetPath(blog->GetPath());
  ASSERT_EQ(saved.Load(), 0u);
  EXPECT_EQ(saved.FindEntry(3)->photoPath, photo);
}

TEST_F(PhotoFilesTest, AMoveToAnotherFileSystemDeletesOriginalsOnlyAfterTheSave) {
  OtherCard card(root);
  const std::string folder = "\\My Documents\\My Pictures\\trips";
  ASSERT_EQ(root.Fs().CreateFolders(folder), 0u);
  auto* one = AddPhoto(1, folder + "\\one.jpg");
  auto* two = AddPhoto(2, folder + "\\two.jpg");
  // The database is written before any original is deleted.
  bool originalsAtSave = false;
  root.Fs().SetWriteFault([&](const std::string& path, uint32_t) {
    if (path.find("~sav") != std::string::npos) originalsAtSave = root.Fs().Exists(folder + "\\one.jpg");
    return 0u;
  });
  ASSERT_EQ(blog->MovePhotos(nullptr, "\\", card.Path()), 0u);
  root.Fs().SetWriteFault(nullptr);
  EXPECT_TRUE(originalsAtSave);
  EXPECT_EQ(one->photoPath, "\\SD\\DCIM\\trips\\one.jpg");
  EXPECT_EQ(two->photoPath, "\\SD\\DCIM\\trips\\two.jpg");
  EXPECT_EQ(modeltest::ReadHostFile(root.Host(one->photoPath)).size(), ("photo " + folder + "\\one.jpg").size());
  EXPECT_EQ(SavedPaths(), (std::vector<std::string>{one->photoPath, two->photoPath}));
  EXPECT_FALSE(root.Fs().IsDirectory(folder));
  EXPECT_EQ(FilesIn("\\SD\\DCIM\\trips"), (std::set<std::string>{"one.jpg", "two.jpg"}));
}

TEST_F(PhotoFilesTest, AWriteFailureMidMoveLosesNothing) {
  OtherCard card(root);
  const std::string folder = "\\My Documents\\My Pictures\\trips";
  ASSERT_EQ(root.Fs().CreateFolders(folder), 0u);
  for (uint32_t id = 1; id <= 3; ++id) AddPhoto(id, folder + "\\" + std::to_string(id) + ".jpg");
  // The card fills up during the second photo's copy.
  std::set<std::string> copies;
  root.Fs().SetWriteFault([&](const std::string& path, uint32_t) {
    if (path.find("~cpy") == std::string::npos) return 0u;
    copies.insert(path);
    return copies.size() == 2 ? platform::kErrDiskFull : 0u;
  });
  EXPECT_EQ(blog->MovePhotos(nullptr, "\\", card.Path()), platform::kErrDiskFull);
  root.Fs().SetWriteFault(nullptr);
  // Entries go newest first: entry 1 moved, 2 and 3 stayed.
  const std::vector<std::string> saved = SavedPaths();
  EXPECT_EQ(saved, (std::vector<std::string>{"\\SD\\DCIM\\trips\\1.jpg", folder + "\\2.jpg", folder + "\\3.jpg"}));
  for (const std::string& path : saved) EXPECT_TRUE(root.Fs().Exists(path)) << path;
  EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"2.jpg", "3.jpg"}));
  EXPECT_EQ(FilesIn("\\SD\\DCIM\\trips"), std::set<std::string>{"1.jpg"});
}

TEST_F(PhotoFilesTest, AMoveWhoseDatabaseCannotBeSavedKeepsTheOriginals) {
  OtherCard card(root);
  const std::string original = "\\My Documents\\My Pictures\\trips\\one.jpg";
  ASSERT_EQ(root.Fs().CreateFolders("\\My Documents\\My Pictures\\trips"), 0u);
  auto* one = AddPhoto(1, original);
  ASSERT_EQ(blog->Save(), 0u);
  root.Fs().SetWriteFault([](const std::string& path, uint32_t) {
    return path.find("~sav") != std::string::npos ? platform::kErrDiskFull : 0u;
  });
  EXPECT_NE(blog->MovePhotos(nullptr, "\\", card.Path()), 0u);
  root.Fs().SetWriteFault(nullptr);
  EXPECT_EQ(SavedPaths(), std::vector<std::string>{original});
  EXPECT_TRUE(root.Fs().Exists(original));
  EXPECT_TRUE(root.Fs().Exists(one->photoPath));
  // The next save names the copy, and only then does the original go.
  ASSERT_EQ(blog->Save(), 0u);
  EXPECT_EQ(SavedPaths(), std::vector<std::string>{"\\SD\\DCIM\\trips\\one.jpg"});
  EXPECT_FALSE(root.Fs().Exists(original));
}

TEST_F(PhotoFilesTest, PhotosOfTheSameNameMoveSideBySide) {
  std::string card = modeltest::MakeCard(root, "Storage Card");
  ASSERT_EQ(root.Fs().CreateFolders("\\My Documents\\Old"), 0u);
  auto* first = AddPhoto(1, "\\My Documents\\a.jpg");
  auto* second = AddPhoto(2, "\\My Documents\\Old\\a.jpg");
  ASSERT_EQ(blog->MovePhotos(nullptr, "\\", card), 0u);
  EXPECT_EQ(first->photoPath, "\\Storage Card\\DCIM\\trips\\a.jpg");
  EXPECT_EQ(second->photoPath, "\\Storage Card\\DCIM\\trips\\a-2.jpg");
  EXPECT_EQ(modeltest::ReadHostFile(root.Host(first->photoPath)).size(), std::string("photo \\My Documents\\a.jpg").size());
  EXPECT_EQ(modeltest::ReadHostFile(root.Host(second->photoPath)).size(),
            std::string("photo \\My Documents\\Old\\a.jpg").size());
}
