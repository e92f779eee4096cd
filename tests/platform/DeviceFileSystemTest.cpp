#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <set>

#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "tests/support/TempDeviceRoot.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

void WriteHostFile(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

std::string ReadHostFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder outside the device root, removed afterwards.
struct OutsideFolder {
  fs::path path;
  OutsideFolder() {
    std::string pattern = (fs::temp_directory_path() / "tessary-outside-XXXXXX").string();
    path = ::mkdtemp(pattern.data());
  }
  ~OutsideFolder() { fs::remove_all(path); }
};

}  // namespace

TEST(DeviceFileSystem, MapsPathsWithoutRegardToCase) {
  testsupport::TempDeviceRoot root;
  WriteHostFile(root.HostRoot() / "My Documents" / "My Pictures" / "Photo.JPG", "x");
  fs::path host;
  ASSERT_EQ(root.Fs().ToHostPath("\\my documents\\MY PICTURES\\photo.jpg", host), kSuccess);
  EXPECT_EQ(host, root.HostRoot() / "My Documents" / "My Pictures" / "Photo.JPG");
  // Missing tails keep the caller's spelling, under the matched existing folders.
  ASSERT_EQ(root.Fs().ToHostPath("\\MY DOCUMENTS\\New\\File.txt", host), kSuccess);
  EXPECT_EQ(host, root.HostRoot() / "My Documents" / "New" / "File.txt");
  // Non-ASCII letters fold too.
  fs::create_directory(root.HostRoot() / "Ärger");
  ASSERT_EQ(root.Fs().ToHostPath("\\ärger", host), kSuccess);
  EXPECT_EQ(host, root.HostRoot() / "Ärger");
  ASSERT_EQ(root.Fs().ToHostPath("\\", host), kSuccess);
  EXPECT_EQ(host, root.HostRoot());
}

TEST(DeviceFileSystem, RefusesPathsThatCouldLeaveTheRoot) {
  testsupport::TempDeviceRoot root;
  fs::path host;
  EXPECT_EQ(root.Fs().ToHostPath("\\Temp\\..\\..\\etc\\passwd", host), kErrBadPathName);
  EXPECT_EQ(root.Fs().ToHostPath("\\Temp/../../etc", host), kErrBadPathName);
  EXPECT_EQ(root.Fs().ToHostPath("Temp\\a.txt", host), kErrBadPathName);
  EXPECT_EQ(root.Fs().ToHostPath("", host), kErrBadPathName);
  EXPECT_EQ(root.Fs().ToHostPath(std::string_view("\\Temp\\a\0b", 10), host), kErrInvalidName);
  EXPECT_EQ(root.Fs().ToHostPath("\\" + std::string(300, 'a'), host), kErrFilenameTooLong);
  EXPECT_FALSE(root.Fs().Exists("\\..\\"));
}

TEST(DeviceFileSystem, RefusesLinksLeadingOutside) {
  testsupport::TempDeviceRoot root;
  OutsideFolder outside;
  WriteHostFile(outside.path / "secret.txt", "secret");
  fs::create_directory_symlink(outside.path, root.HostRoot() / "My Documents" / "escape");
  fs::create_symlink(outside.path / "secret.txt", root.HostRoot() / "secret-link.txt");
  // A dangling link would make a create land outside.
  fs::create_symlink(outside.path / "created.txt", root.HostRoot() / "Temp" / "dangling.txt");

  std::unique_ptr<File> file;
  EXPECT_EQ(root.Fs().OpenFile("\\My Documents\\escape\\secret.txt", OpenMode::Read, file), kErrAccessDenied);
  EXPECT_EQ(root.Fs().OpenFile("\\secret-link.txt", OpenMode::Read, file), kErrAccessDenied);
  EXPECT_EQ(root.Fs().OpenFile("\\Temp\\dangling.txt", OpenMode::CreateAlways, file), kErrAccessDenied);
  EXPECT_FALSE(fs::exists(outside.path / "created.txt"));

  std::vector<FileInfo> list;
  ASSERT_EQ(root.Fs().Enumerate("\\My Documents", list), kSuccess);
  for (const FileInfo& info : list) EXPECT_NE(info.name, "escape");

  // Links that stay inside are followed.
  fs::create_directory_symlink(root.HostRoot() / "Temp", root.HostRoot() / "My Documents" / "inside");
  EXPECT_TRUE(root.Fs().IsDirectory("\\My Documents\\inside"));
}

TEST(DeviceFileSystem, LinkedFolderUnderRootIsAStorageCard) {
  testsupport::TempDeviceRoot root;
  OutsideFolder card;
  fs::create_directories(card.path / "DCIM");
  WriteHostFile(card.path / "DCIM" / "IMG_0001.jpg", "jpeg");
  fs::create_directory_symlink(card.path, root.HostRoot() / "Storage Card");
  WriteHostFile(root.HostRoot() / "plain.txt", "");

  std::vector<FileInfo> list;
  ASSERT_EQ(root.Fs().Enumerate("\\", list), kSuccess);
  std::set<std::string> cards, folders;
  for (const FileInfo& info : list) {
    if (info.isTemporary) cards.insert(info.name);
    if (info.isDirectory) folders.insert(info.name);
  }
  EXPECT_EQ(cards, std::set<std::string>{"Storage Card"});
  EXPECT_EQ(folders, (std::set<std::string>{"My Documents", "Temp", "Storage Card"}));

  FileInfo info;
  ASSERT_EQ(root.Fs().GetInfo("\\storage card\\dcim\\img_0001.JPG", info), kSuccess);
  EXPECT_EQ(info.size, 4u);
  EXPECT_FALSE(info.isTemporary);
  ASSERT_EQ(root.Fs().GetInfo("\\Storage Card", info), kSuccess);
  EXPECT_TRUE(info.isTemporary);

  // The card is the boundary for what lies on it: a link back out of it is refused.
  fs::create_directory_symlink(root.HostRoot() / "My Documents", card.path / "back");
  EXPECT_FALSE(root.Fs().Exists("\\Storage Card\\back"));
  EXPECT_EQ(root.Fs().RemoveFolder("\\Storage Card"), kErrAccessDenied);
  EXPECT_EQ(root.Fs().DeleteFile("\\Storage Card"), kErrAccessDenied);
  EXPECT_TRUE(fs::exists(card.path / "DCIM" / "IMG_0001.jpg"));
}

TEST(DeviceFileSystem, TempFileNamesAreNewAndUnique) {
  testsupport::TempDeviceRoot root;
  const std::string folder = root.Fs().TempFolder();
  std::set<std::string> seen;
  const std::regex shape(R"(\\Temp\\upl[0-9A-F]{4}\.tmp)");
  for (int i = 0; i < 50; ++i) {
    std::string name;
    ASSERT_EQ(root.Fs().MakeTempFileName(folder, "upl", name), kSuccess);
    EXPECT_TRUE(std::regex_match(name, shape)) << name;
    EXPECT_TRUE(seen.insert(name).second) << name;
    EXPECT_TRUE(fs::is_regular_file(root.Host(name)));
  }
  std::string name;
  EXPECT_EQ(root.Fs().MakeTempFileName("\\No Such Folder", "x", name), kErrPathNotFound);
  EXPECT_EQ(root.Fs().MakeTempFileName(folder, "a\\b", name), kErrInvalidParameter);
}

TEST(DeviceFileSystem, FoldersAreTheUsersAloneWhateverTheUmask) {
  const mode_t saved = ::umask(0);
  OutsideFolder outside;
  DeviceFileSystem dfs(outside.path / "new" / "device");
  EXPECT_EQ(dfs.Initialise(), kSuccess);
  auto mode = [](const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
  };
  EXPECT_EQ(mode(outside.path / "new" / "device"), 0700u);
  EXPECT_EQ(mode(outside.path / "new" / "device" / "My Documents" / "My Pictures"), 0700u);
  EXPECT_EQ(dfs.CreateFolders("\\My Documents\\Morvane\\Tessary"), kSuccess);
  EXPECT_EQ(mode(outside.path / "new" / "device" / "My Documents" / "Morvane"), 0700u);
  std::unique_ptr<File> file;
  ASSERT_EQ(dfs.OpenFile("\\Temp\\new.bin", OpenMode::CreateAlways, file), kSuccess);
  file.reset();
  EXPECT_EQ(mode(outside.path / "new" / "device" / "Temp" / "new.bin"), 0600u);
  std::string temp;
  ASSERT_EQ(dfs.MakeTempFileName("\\Temp", "x", temp), kSuccess);
  fs::path host;
  ASSERT_EQ(dfs.ToHostPath(temp, host), kSuccess);
  EXPECT_EQ(mode(host), 0600u);
  // A file that was there before keeps the mode its owner gave it.
  WriteHostFile(outside.path / "new" / "device" / "Temp" / "mine.txt", "x");
  fs::permissions(outside.path / "new" / "device" / "Temp" / "mine.txt", fs::perms(0644));
  ASSERT_EQ(dfs.OpenFile("\\Temp\\mine.txt", OpenMode::OpenAlways, file), kSuccess);
  file.reset();
  EXPECT_EQ(mode(outside.path / "new" / "device" / "Temp" / "mine.txt"), 0644u);
  ::umask(saved);
}

TEST(DeviceFileSystem, WriteFaultFailsTheWriteAndCopyLeavesNothingBehind) {
  testsupport::TempDeviceRoot root;
  std::unique_ptr<File> file;
  ASSERT_EQ(root.Fs().OpenFile("\\Temp\\a.bin", OpenMode::CreateAlways, file), kSuccess);
  ASSERT_EQ(file->Write("hello", 5), kSuccess);
  std::vector<std::string> seen;
  root.Fs().SetWriteFault([&](const std::string& path, uint32_t len) {
    seen.push_back(path + ":" + std::to_string(len));
    return kErrDiskFull;
  });
  EXPECT_EQ(file->Write("world", 5), kErrDiskFull);
  EXPECT_EQ(file->Close(), kSuccess);
  EXPECT_EQ(ReadHostFile(root.Host("\\Temp\\a.bin")), "hello");
  EXPECT_EQ(seen, std::vector<std::string>{"\\Temp\\a.bin:5"});

  EXPECT_EQ(root.Fs().CopyFile("\\Temp\\a.bin", "\\Temp\\b.bin", true), kErrDiskFull);
  EXPECT_FALSE(root.Fs().Exists("\\Temp\\b.bin"));
  root.Fs().SetWriteFault(nullptr);
  EXPECT_EQ(root.Fs().CopyFile("\\Temp\\a.bin", "\\Temp\\b.bin", true), kSuccess);
  EXPECT_EQ(ReadHostFile(root.Host("\\Temp\\b.bin")), "hello");
}

TEST(DeviceFileSystem, VerifiedCopyReplacesTheTargetOnlyWithAWholeCopy) {
  testsupport::TempDeviceRoot root;
  const std::string photo(200000, 'p');
  WriteHostFile(root.Host("\\Temp\\a.jpg"), photo);
  WriteHostFile(root.Host("\\My Documents\\a.jpg"), "older");
  ASSERT_EQ(root.Fs().SetLastWriteTime("\\Temp\\a.jpg", 3000000000u), kSuccess);
  int writes = 0;
  root.Fs().SetWriteFault([&](const std::string&, uint32_t) { return ++writes == 2 ? kErrDiskFull : kSuccess; });
  EXPECT_EQ(root.Fs().CopyFileVerified("\\Temp\\a.jpg", "\\My Documents\\a.jpg"), kErrDiskFull);
  root.Fs().SetWriteFault(nullptr);
  std::vector<FileInfo> items;
  ASSERT_EQ(root.Fs().Enumerate("\\My Documents", items), kSuccess);
  std::set<std::string> names;
  for (const FileInfo& item : items) names.insert(item.name);
  EXPECT_EQ(names, (std::set<std::string>{"My Pictures", "a.jpg"}));
  EXPECT_EQ(ReadHostFile(root.Host("\\My Documents\\a.jpg")), "older");

  ASSERT_EQ(root.Fs().CopyFileVerified("\\Temp\\a.jpg", "\\My Documents\\a.jpg"), kSuccess);
  EXPECT_EQ(ReadHostFile(root.Host("\\My Documents\\a.jpg")), photo);
  EXPECT_EQ(ReadHostFile(root.Host("\\Temp\\a.jpg")), photo);
  FileInfo info;
  ASSERT_EQ(root.Fs().GetInfo("\\My Documents\\a.jpg", info), kSuccess);
  EXPECT_EQ(info.lastWriteTime, 3000000000u);
  EXPECT_EQ(root.Fs().CopyFileVerified("\\Temp\\none.jpg", "\\My Documents\\b.jpg"), kErrFileNotFound);
}

TEST(DeviceFileSystem, FileOperationsAnswerThePhoneCodes) {
  testsupport::TempDeviceRoot root;
  auto& dfs = root.Fs();
  std::unique_ptr<File> file;
  EXPECT_EQ(dfs.OpenFile("\\Temp\\missing.txt", OpenMode::Read, file), kErrFileNotFound);
  EXPECT_EQ(dfs.OpenFile("\\Nowhere\\missing.txt", OpenMode::Read, file), kErrPathNotFound);
  EXPECT_EQ(dfs.OpenFile("\\Temp", OpenMode::Read, file), kErrAccessDenied);
  ASSERT_EQ(dfs.OpenFile("\\Temp\\a.txt", OpenMode::CreateNew, file), kSuccess);
  ASSERT_EQ(file->Write("abc", 3), kSuccess);
  file.reset();
  EXPECT_EQ(dfs.OpenFile("\\TEMP\\A.TXT", OpenMode::CreateNew, file), kErrFileExists);

  EXPECT_EQ(dfs.CopyFile("\\Temp\\a.txt", "\\temp\\A.txt", false), kErrSharingViolation);
  EXPECT_EQ(ReadHostFile(root.Host("\\Temp\\a.txt")), "abc");
  ASSERT_EQ(dfs.CopyFile("\\Temp\\a.txt", "\\Temp\\b.txt", false), kSuccess);
  EXPECT_EQ(dfs.CopyFile("\\Temp\\a.txt", "\\Temp\\b.txt", true), kErrFileExists);
  EXPECT_EQ(dfs.MoveFile("\\Temp\\a.txt", "\\Temp\\B.TXT"), kErrAlreadyExists);
  // A change of letter case alone is a rename.
  ASSERT_EQ(dfs.MoveFile("\\Temp\\a.txt", "\\Temp\\A.txt"), kSuccess);
  EXPECT_EQ(root.Host("\\temp\\a.txt").filename(), "A.txt");
  ASSERT_EQ(dfs.ReplaceFile("\\Temp\\A.txt", "\\Temp\\b.txt"), kSuccess);
  EXPECT_FALSE(dfs.Exists("\\Temp\\A.txt"));

  EXPECT_EQ(dfs.CreateFolder("\\Temp"), kErrAlreadyExists);
  EXPECT_EQ(dfs.CreateFolder("\\x\\y"), kErrPathNotFound);
  ASSERT_EQ(dfs.CreateFolders("\\x\\y\\z"), kSuccess);
  EXPECT_EQ(dfs.CreateFolders("\\X\\Y"), kSuccess);
  EXPECT_EQ(dfs.RemoveFolder("\\x\\y"), kErrDirNotEmpty);
  EXPECT_EQ(dfs.RemoveFolder("\\"), kErrAccessDenied);
  EXPECT_EQ(dfs.DeleteFile("\\Temp"), kErrAccessDenied);
  EXPECT_EQ(dfs.DeleteFile("\\Temp\\gone.txt"), kErrFileNotFound);
}

TEST(DeviceFileSystem, CreateAlwaysEmptiesAnExistingFileOrMakesANewOne) {
  testsupport::TempDeviceRoot root;
  WriteHostFile(root.Host("\\Temp\\full.txt"), "old content");
  std::unique_ptr<File> file;
  ASSERT_EQ(root.Fs().OpenFile("\\Temp\\full.txt", OpenMode::CreateAlways, file), kSuccess);
  uint64_t size = 1;
  ASSERT_EQ(file->Size(size), kSuccess);
  EXPECT_EQ(size, 0u);
  ASSERT_EQ(file->Write("new", 3), kSuccess);
  file.reset();
  EXPECT_EQ(ReadHostFile(root.Host("\\Temp\\full.txt")), "new");

  ASSERT_EQ(root.Fs().OpenFile("\\Temp\\fresh.txt", OpenMode::CreateAlways, file), kSuccess);
  ASSERT_EQ(file->Write("made", 4), kSuccess);
  file.reset();
  EXPECT_EQ(ReadHostFile(root.Host("\\Temp\\fresh.txt")), "made");
  // A folder is not a file to empty.
  EXPECT_EQ(root.Fs().OpenFile("\\Temp", OpenMode::CreateAlways, file), kErrAccessDenied);
}

TEST(DeviceFileSystem, LastWriteTimeRoundTrips) {
  testsupport::TempDeviceRoot root;
  std::unique_ptr<File> file;
  ASSERT_EQ(root.Fs().OpenFile("\\Temp\\t.txt", OpenMode::CreateAlways, file), kSuccess);
  file.reset();
  const uint32_t when = 3'400'000'000u;  // 2011
  ASSERT_EQ(root.Fs().SetLastWriteTime("\\Temp\\t.txt", when), kSuccess);
  FileInfo info;
  ASSERT_EQ(root.Fs().GetInfo("\\Temp\\t.txt", info), kSuccess);
  EXPECT_EQ(info.lastWriteTime, when);
  EXPECT_EQ(info.name, "t.txt");
}

TEST(PhonePath, Helpers) {
  EXPECT_EQ(JoinPhonePath("\\My Documents", "a.jpg"), "\\My Documents\\a.jpg");
  EXPECT_EQ(JoinPhonePath("\\My Documents\\", "\\a.jpg"), "\\My Documents\\a.jpg");
  EXPECT_EQ(JoinPhonePath(PhoneFolderOf("\\a.jpg"), "b.jpg"), "\\b.jpg");
  EXPECT_EQ(PhoneFileName("\\x\\y.jpg"), "y.jpg");
  EXPECT_EQ(PhoneFolderOf("\\x\\y.jpg"), "\\x");
  EXPECT_TRUE(IsPlainFileName("IMG 0001.jpg"));
  for (const char* bad : {"", ".", "..", "a\\b", "a/b", "c:", "tab\there"}) EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}
