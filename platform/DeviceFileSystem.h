#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/File.h"
#include "platform/FileStamp.h"

namespace platform {

// One entry of a folder enumeration.
struct FileInfo {
  std::string name;          // the name as stored on the host
  bool isDirectory = false;
  bool isTemporary = false;  // a storage card: a root folder that is a mount point or a link to a folder
  uint64_t size = 0;
  uint32_t lastWriteTime = 0;  // time value (seconds since 1904, local)
  uint32_t creationTime = 0;   // time value; the last-write time where the host keeps no birth time
};

enum class OpenMode {
  Read,             // existing file, read only
  ReadWrite,        // existing file, read and write
  CreateAlways,     // create or truncate, read and write
  CreateNew,        // create, fail with 80 if it exists
  OpenAlways,       // open or create, read and write
};

// The phone's file system, mapped onto a folder of the host (the device root).
// Paths are phone paths: backslash-separated, rooted at "\", compared without
// regard to letter case. A phone path never resolves outside the device root.
// Folders and files it creates are the user's alone (0700 and 0600, whatever
// the umask): they hold the account's password.
class DeviceFileSystem {
 public:
  explicit DeviceFileSystem(std::filesystem::path hostRoot);

  // The file system the program runs on; set once at start (tests set their own).
  static DeviceFileSystem& Current();
  static void SetCurrent(DeviceFileSystem* fs);
  // Root from --device-root, else TESSARY_DEVICE_ROOT, else $XDG_DATA_HOME/tessary/device.
  static std::filesystem::path DefaultRoot();

  // Creates the root with "My Documents", "My Documents\My Pictures" and "Temp".
  uint32_t Initialise();
  const std::filesystem::path& HostRoot() const { return root_; }

  // Maps a phone path to the host path, matching existing components without regard
  // to case. Refuses ".." components, NUL bytes and anything not rooted at "\".
  uint32_t ToHostPath(std::string_view phonePath, std::filesystem::path& out) const;

  uint32_t OpenFile(std::string_view phonePath, OpenMode mode, std::unique_ptr<File>& out);
  uint32_t DeleteFile(std::string_view phonePath);
  uint32_t MoveFile(std::string_view from, std::string_view to);  // fails with 183 if `to` exists
  // Atomically puts `from` in the place of `to` (which may exist).
  uint32_t ReplaceFile(std::string_view from, std::string_view to);
  uint32_t CopyFile(std::string_view from, std::string_view to, bool failIfExists);
  // Puts a copy of `from` in the place of `to` (which may exist) so that `to` is
  // either as it was or a whole copy: the bytes go to a temporary file beside
  // `to`, are forced to the medium, read back from it and compared with the
  // source (23 when they differ), and only then renamed over `to`. The source
  // is left as it is; the copy keeps its last-write time.
  uint32_t CopyFileVerified(std::string_view from, std::string_view to);
  uint32_t CreateFolder(std::string_view phonePath);   // one level; 183 if it exists
  uint32_t CreateFolders(std::string_view phonePath);  // with parents; success if it exists
  uint32_t RemoveFolder(std::string_view phonePath);   // empty folders only
  bool Exists(std::string_view phonePath) const;
  bool IsDirectory(std::string_view phonePath) const;
  uint32_t GetInfo(std::string_view phonePath, FileInfo& out) const;
  // The identity and version of a file; "does not exist" when it cannot be mapped.
  FileStamp Stamp(std::string_view phonePath) const;
  uint32_t SetLastWriteTime(std::string_view phonePath, uint32_t timeValue);
  // Lists a folder (not "." and ".."), in the host's order.
  uint32_t Enumerate(std::string_view folder, std::vector<FileInfo>& out) const;

  // "\Temp"; created on demand.
  std::string TempFolder();
  // Creates a new empty file "<folder>\<prefix>XXXX.tmp" and answers its phone path.
  uint32_t MakeTempFileName(std::string_view folder, std::string_view prefix, std::string& out);

  static std::string MyDocuments() { return "\\My Documents"; }
  static std::string MyPictures() { return "\\My Documents\\My Pictures"; }

  // Test hook: called before every write with the phone path and the byte count;
  // a non-zero answer fails that write with the code given.
  using WriteFault = std::function<uint32_t(const std::string& phonePath, uint32_t len)>;
  void SetWriteFault(WriteFault fault) { writeFault_ = std::move(fault); }
  const WriteFault& GetWriteFault() const { return writeFault_; }

 private:
  std::filesystem::path root_;
  WriteFault writeFault_;
};

// Phone-path helpers.
std::string JoinPhonePath(std::string_view folder, std::string_view name);
std::string_view PhoneFileName(std::string_view phonePath);   // part after the last "\"
std::string_view PhoneFolderOf(std::string_view phonePath);   // part before the last "\"
// A plain file name: not empty, no "\", "/", ":", control characters, not "." or "..".
bool IsPlainFileName(std::string_view name);

}  // namespace platform
