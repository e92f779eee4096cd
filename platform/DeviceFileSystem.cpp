#include "platform/DeviceFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

#include "platform/ErrorCodes.h"
#include "platform/TextConversion.h"
#include "platform/TimeValue.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

DeviceFileSystem* g_current = nullptr;

// The phone's longest path, in 16-bit characters, with its terminating zero.
constexpr size_t kMaxPhonePath = 260;

// Simple case folding for the scripts a phone's file system folds: ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic capitals.
char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c < 0x80) return c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  if (c >= 0x100 && c <= 0x137) return static_cast<char16_t>(c | 1);
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 ? static_cast<char16_t>(c + 1) : c;
  if (c >= 0x14A && c <= 0x177) return static_cast<char16_t>(c | 1);
  if (c == 0x178) return 0xFF;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  return c;
}

std::u16string Folded(std::string_view name) {
  std::u16string s = Utf8ToUtf16(name);
  for (char16_t& c : s) c = FoldCase(c);
  return s;
}

// Splits a phone path into its components. "\" and "/" both separate, empty
// and "." components vanish; "..", NUL bytes and unrooted paths are refused.
uint32_t SplitPhonePath(std::string_view path, std::vector<std::string_view>& parts) {
  parts.clear();
  if (path.find('\0') != std::string_view::npos) return kErrInvalidName;
  if (path.empty() || (path[0] != '\\' && path[0] != '/')) return kErrBadPathName;
  if (Utf8ToUtf16(path).size() >= kMaxPhonePath) return kErrFilenameTooLong;
  size_t i = 0;
  while (i < path.size()) {
    size_t end = path.find_first_of("\\/", i);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(i, end - i);
    if (part == "..") return kErrBadPathName;
    if (!part.empty() && part != ".") parts.push_back(part);
    i = end + 1;
  }
  return kSuccess;
}

bool LStat(const fs::path& p, struct stat& st) { return ::lstat(p.c_str(), &st) == 0; }
bool Stat(const fs::path& p, struct stat& st) { return ::stat(p.c_str(), &st) == 0; }

// The host name of `name` in `dir`: the exact name when it exists, else an
// entry equal to it without regard to case (the smallest, should the host hold
// several), else `name` itself with `exists` false.
std::string MatchComponent(const fs::path& dir, std::string_view name, bool& exists) {
  struct stat st {};
  std::string exact(name);
  if (LStat(dir / exact, st)) {
    exists = true;
    return exact;
  }
  exists = false;
  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return exact;
  const std::u16string want = Folded(name);
  std::string best;
  while (const dirent* e = ::readdir(d)) {
    std::string_view entry = e->d_name;
    if (entry == "." || entry == "..") continue;
    if (Folded(entry) == want && (!exists || entry < best)) {
      best = entry;
      exists = true;
    }
  }
  ::closedir(d);
  return exists ? best : exact;
}

// A storage card: a folder directly under the root that is a link to a folder
// or a mount point.
bool IsCardHost(const fs::path& root, const fs::path& top) {
  struct stat lst {}, st {}, rootSt {};
  if (!LStat(top, lst) || !Stat(top, st) || !S_ISDIR(st.st_mode)) return false;
  if (S_ISLNK(lst.st_mode)) return true;
  return Stat(root, rootSt) && st.st_dev != rootSt.st_dev;
}

bool IsWithin(const fs::path& path, const fs::path& base) {
  const std::string& p = path.native();
  std::string b = base.native();
  if (p == b) return true;
  if (b.empty() || b.back() != '/') b.push_back('/');
  return p.compare(0, b.size(), b) == 0;
}

// Whether `host` (below `root`) resolves inside `base` once every link is
// followed. A dangling link is refused: creating through it would land wherever
// it points.
uint32_t CheckConfined(const fs::path& root, const std::vector<std::string>& names, const fs::path& base) {
  std::error_code ec;
  const fs::path baseReal = fs::canonical(base, ec);
  if (ec) return kErrPathNotFound;
  fs::path walk = root;
  bool checking = true;
  for (const std::string& name : names) {
    walk /= name;
    struct stat st {};
    if (!checking || Stat(walk, st)) continue;
    if (LStat(walk, st)) return kErrAccessDenied;
    checking = false;
  }
  const fs::path real = fs::weakly_canonical(walk, ec);
  if (ec) return ErrorFromErrno(ec.value());
  return IsWithin(real, baseReal) ? kSuccess : kErrAccessDenied;
}

// errno of a failed operation on `host`, telling a missing folder (3) from a
// missing file (2) the way the phone does.
uint32_t PathError(int err, const fs::path& host) {
  if (err == ENOENT) {
    struct stat st {};
    if (!Stat(host.parent_path(), st) || !S_ISDIR(st.st_mode)) return kErrPathNotFound;
  }
  return ErrorFromErrno(err);
}

uint32_t FillInfo(const fs::path& host, std::string name, bool card, FileInfo& out) {
  struct stat st {};
  if (!Stat(host, st)) return PathError(errno, host);
  out = FileInfo{};
  out.name = std::move(name);
  out.isDirectory = S_ISDIR(st.st_mode);
  out.isTemporary = card;
  out.size = out.isDirectory ? 0 : static_cast<uint64_t>(st.st_size);
  out.lastWriteTime = LocalTimeValueFromUnix(st.st_mtim.tv_sec);
  // Without a birth time the file counts as made when it was last written.
  std::time_t created = st.st_mtim.tv_sec;
  struct statx sx {};
  if (::statx(AT_FDCWD, host.c_str(), 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME)) {
    created = static_cast<std::time_t>(sx.stx_btime.tv_sec);
  }
  out.creationTime = LocalTimeValueFromUnix(created);
  return kSuccess;
}

// Files and folders of ours are the user's alone (they hold passwords): the
// mode is set after creation, so that no umask widens or narrows it.
constexpr mode_t kFileMode = 0600;
constexpr mode_t kFolderMode = 0700;

// Makes one folder; 0, or errno.
int MakeFolder(const fs::path& host) {
  if (::mkdir(host.c_str(), kFolderMode) != 0) return errno;
  ::chmod(host.c_str(), kFolderMode);
  return 0;
}

// Makes a folder and its missing parents; 0, or errno.
int MakeFolders(const fs::path& host) {
  struct stat st {};
  if (Stat(host, st)) return S_ISDIR(st.st_mode) ? 0 : EEXIST;
  const fs::path parent = host.parent_path();
  if (!parent.empty() && parent != host) {
    if (int err = MakeFolders(parent); err != 0) return err;
  }
  const int err = MakeFolder(host);
  return err == EEXIST && Stat(host, st) && S_ISDIR(st.st_mode) ? 0 : err;
}

// Opens `host` with `flags`, which may ask for creation; a file this call
// creates gets the mode of our files. Answers the descriptor, or -1 with errno.
int OpenCreating(const fs::path& host, int flags) {
  if ((flags & O_CREAT) == 0) return ::open(host.c_str(), flags);
  for (;;) {
    int fd = ::open(host.c_str(), flags | O_EXCL, kFileMode);
    if (fd >= 0) {
      ::fchmod(fd, kFileMode);
      return fd;
    }
    if (errno != EEXIST || (flags & O_EXCL) != 0) return -1;
    fd = ::open(host.c_str(), flags & ~O_CREAT);
    if (fd >= 0 || errno != ENOENT) return fd;
    // Removed in between: try to create it again.
  }
}

// Copies a host file across devices, durably, keeping its last-write time and mode.
uint32_t CopyHostFile(const fs::path& from, const fs::path& to) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return PathError(errno, from);
  struct stat st {};
  ::fstat(in, &st);
  int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
  if (out < 0) {
    uint32_t rc = PathError(errno, to);
    ::close(in);
    return rc;
  }
  ::fchmod(out, st.st_mode & 0777);
  uint32_t rc = kSuccess;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) rc = ErrorFromErrno(errno);
      break;
    }
    for (ssize_t done = 0; done < n && rc == kSuccess;) {
      ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) rc = w < 0 ? ErrorFromErrno(errno) : kErrDiskFull;
      else done += w;
    }
    if (rc != kSuccess) break;
  }
  if (rc == kSuccess) {
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out, times);
    if (::fsync(out) != 0) rc = ErrorFromErrno(errno);
  }
  if (::close(out) != 0 && rc == kSuccess) rc = ErrorFromErrno(errno);
  ::close(in);
  if (rc != kSuccess) ::unlink(to.c_str());
  return rc;
}

}  // namespace

DeviceFileSystem::DeviceFileSystem(fs::path hostRoot) : root_(std::move(hostRoot)) {}

DeviceFileSystem& DeviceFileSystem::Current() {
  if (g_current != nullptr) return *g_current;
  static DeviceFileSystem fallback(DefaultRoot());
  return fallback;
}

void DeviceFileSystem::SetCurrent(DeviceFileSystem* fs) { g_current = fs; }

fs::path DeviceFileSystem::DefaultRoot() {
  if (const char* v = std::getenv("TESSARY_DEVICE_ROOT"); v && *v) return v;
  if (const char* v = std::getenv("XDG_DATA_HOME"); v && *v == '/') return fs::path(v) / "tessary" / "device";
  fs::path home;
  if (const char* v = std::getenv("HOME"); v && *v) {
    home = v;
  } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
    home = pw->pw_dir;
  } else {
    home = fs::temp_directory_path();
  }
  return home / ".local" / "share" / "tessary" / "device";
}

uint32_t DeviceFileSystem::Initialise() {
  if (int err = MakeFolders(root_); err != 0) return ErrorFromErrno(err);
  for (const std::string& folder : {MyDocuments(), MyPictures(), std::string("\\Temp")}) {
    if (uint32_t rc = CreateFolders(folder); rc != kSuccess) return rc;
  }
  return kSuccess;
}

uint32_t DeviceFileSystem::ToHostPath(std::string_view phonePath, fs::path& out) const {
  std::vector<std::string_view> parts;
  if (uint32_t rc = SplitPhonePath(phonePath, parts); rc != kSuccess) return rc;
  fs::path host = root_;
  std::vector<std::string> names;
  bool exists = true;
  for (std::string_view part : parts) {
    names.push_back(exists ? MatchComponent(host, part, exists) : std::string(part));
    host /= names.back();
  }
  if (!names.empty()) {
    // Inside a card linked in from elsewhere, the card is the boundary.
    const fs::path top = root_ / names.front();
    struct stat lst {};
    const bool cardLink = LStat(top, lst) && S_ISLNK(lst.st_mode) && IsCardHost(root_, top);
    if (uint32_t rc = CheckConfined(root_, names, cardLink ? top : root_); rc != kSuccess) return rc;
  }
  out = std::move(host);
  return kSuccess;
}

uint32_t DeviceFileSystem::OpenFile(std::string_view phonePath, OpenMode mode, std::unique_ptr<File>& out) {
  out.reset();
  fs::path host;
  if (uint32_t rc = ToHostPath(phonePath, host); rc != kSuccess) return rc;
  // Not blocking: a pipe or device in the place of a file must not hold the program up.
  int flags = O_CLOEXEC | O_NONBLOCK;
  switch (mode) {
    case OpenMode::Read: flags |= O_RDONLY; break;
    case OpenMode::ReadWrite: flags |= O_RDWR; break;
    // Emptied below only when it holds something: ext4 treats a truncation to zero as
    // a file being replaced and writes it out on close, a waste for a temporary file.
    case OpenMode::CreateAlways: flags |= O_RDWR | O_CREAT; break;
    case OpenMode::CreateNew: flags |= O_RDWR | O_CREAT | O_EXCL; break;
    case OpenMode::OpenAlways: flags |= O_RDWR | O_CREAT; break;
  }
  int fd;
  do {
    fd = OpenCreating(host, flags);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == EEXIST && mode == OpenMode::CreateNew) return kErrFileExists;
    return PathError(errno, host);
  }
  struct stat st {};
  const int status = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || status < 0 ||
      ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return kErrAccessDenied;
  }
  if (mode == OpenMode::CreateAlways && st.st_size > 0 && ::ftruncate(fd, 0) != 0) {
    const int error = errno;
    ::close(fd);
    return PathError(error, host);
  }
  out = std::make_unique<File>(fd, std::string(phonePath));
  return kSuccess;
}

uint32_t DeviceFileSystem::DeleteFile(std::string_view phonePath) {
  fs::path host;
  if (uint32_t rc = ToHostPath(phonePath, host); rc != kSuccess) return rc;
  struct stat st {};
  if (Stat(host, st) && S_ISDIR(st.st_mode)) return kErrAccessDenied;
  if (::unlink(host.c_str()) != 0) return PathError(errno, host);
  return kSuccess;
}

uint32_t DeviceFileSystem::MoveFile(std::string_view from, std::string_view to) {
  fs::path src, dst;
  if (uint32_t rc = ToHostPath(from, src); rc != kSuccess) return rc;
  if (uint32_t rc = ToHostPath(to, dst); rc != kSuccess) return rc;
  struct stat srcSt {}, dstSt {};
  if (!LStat(src, srcSt)) return PathError(errno, src);
  if (LStat(dst, dstSt)) {
    if (srcSt.st_dev != dstSt.st_dev || srcSt.st_ino != dstSt.st_ino) return kErrAlreadyExists;
    // Same entry under another spelling: a change of letter case only.
    std::vector<std::string_view> parts;
    SplitPhonePath(to, parts);
    dst = dst.parent_path() / std::string(parts.back());
    if (dst == src) return kSuccess;
  }
  if (::renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) == 0) return kSuccess;
  int err = errno;
  if (err == EINVAL && !LStat(dst, dstSt)) {
    // The host file system cannot refuse to replace; the check above has to do.
    if (::rename(src.c_str(), dst.c_str()) == 0) return kSuccess;
    err = errno;
  }
  if (err == EEXIST) return kErrAlreadyExists;
  if (err == EXDEV) {
    if (!S_ISREG(srcSt.st_mode)) return kErrNotSupported;
    if (uint32_t rc = CopyHostFile(src, dst); rc != kSuccess) return rc;
    if (::unlink(src.c_str()) != 0) return ErrorFromErrno(errno);
    return kSuccess;
  }
  return PathError(err, dst);
}

uint32_t DeviceFileSystem::ReplaceFile(std::string_view from, std::string_view to) {
  fs::path src, dst;
  if (uint32_t rc = ToHostPath(from, src); rc != kSuccess) return rc;
  if (uint32_t rc = ToHostPath(to, dst); rc != kSuccess) return rc;
  struct stat st {};
  if (Stat(dst, st) && S_ISDIR(st.st_mode)) return kErrAccessDenied;
  if (::rename(src.c_str(), dst.c_str()) == 0) return kSuccess;
  if (errno != EXDEV) return PathError(errno, errno == ENOENT && !LStat(src, st) ? src : dst);
  // Across devices: copy next to the target first so the final step is still a rename.
  fs::path staged = dst;
  staged += ".~replace";
  ::unlink(staged.c_str());
  if (uint32_t rc = CopyHostFile(src, staged); rc != kSuccess) return rc;
  if (::rename(staged.c_str(), dst.c_str()) != 0) {
    uint32_t rc = ErrorFromErrno(errno);
    ::unlink(staged.c_str());
    return rc;
  }
  ::unlink(src.c_str());
  return kSuccess;
}

uint32_t DeviceFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  fs::path src, dst;
  if (uint32_t rc = ToHostPath(from, src); rc != kSuccess) return rc;
  if (uint32_t rc = ToHostPath(to, dst); rc != kSuccess) return rc;
  struct stat srcSt {}, dstSt {};
  if (!Stat(src, srcSt)) return PathError(errno, src);
  // Truncating the target would destroy the source when both are one file.
  if (Stat(dst, dstSt) && srcSt.st_dev == dstSt.st_dev && srcSt.st_ino == dstSt.st_ino) {
    return failIfExists ? kErrFileExists : kErrSharingViolation;
  }
  std::unique_ptr<File> in, out;
  if (uint32_t rc = OpenFile(from, OpenMode::Read, in); rc != kSuccess) return rc;
  if (uint32_t rc = OpenFile(to, failIfExists ? OpenMode::CreateNew : OpenMode::CreateAlways, out);
      rc != kSuccess) {
    return rc;
  }
  std::vector<unsigned char> buffer(65536);
  uint32_t rc = kSuccess;
  for (;;) {
    uint32_t got = 0;
    rc = in->Read(buffer.data(), static_cast<uint32_t>(buffer.size()), got);
    if (rc != kSuccess || got == 0) break;
    rc = out->Write(buffer.data(), got);
    if (rc != kSuccess) break;
  }
  if (uint32_t closeRc = out->Close(); rc == kSuccess) rc = closeRc;
  if (rc != kSuccess) {
    ::unlink(dst.c_str());
    return rc;
  }
  const struct timespec times[2] = {srcSt.st_atim, srcSt.st_mtim};
  ::utimensat(AT_FDCWD, dst.c_str(), times, 0);
  return kSuccess;
}

uint32_t DeviceFileSystem::CopyFileVerified(std::string_view from, std::string_view to) {
  fs::path src, dst;
  if (uint32_t rc = ToHostPath(from, src); rc != kSuccess) return rc;
  if (uint32_t rc = ToHostPath(to, dst); rc != kSuccess) return rc;
  struct stat srcSt {};
  if (!Stat(src, srcSt)) return PathError(errno, src);
  if (!S_ISREG(srcSt.st_mode)) return kErrAccessDenied;
  std::unique_ptr<File> in;
  if (uint32_t rc = OpenFile(from, OpenMode::Read, in); rc != kSuccess) return rc;
  const std::string_view parent = PhoneFolderOf(to);
  std::string temp;
  if (uint32_t rc = MakeTempFileName(parent.empty() ? "\\" : parent, "~cpy", temp); rc != kSuccess) return rc;
  std::unique_ptr<File> out;
  uint32_t rc = OpenFile(temp, OpenMode::ReadWrite, out);
  std::vector<unsigned char> buffer(65536);
  std::vector<unsigned char> check(buffer.size());
  while (rc == kSuccess) {
    uint32_t got = 0;
    rc = in->Read(buffer.data(), static_cast<uint32_t>(buffer.size()), got);
    if (rc != kSuccess || got == 0) break;
    rc = out->Write(buffer.data(), got);
  }
  if (rc == kSuccess) rc = out->Sync();
  if (rc == kSuccess) {
    // What the medium holds now, not what the host still caches, is compared.
    out->DropCache();
    rc = in->Seek(0);
    if (rc == kSuccess) rc = out->Seek(0);
  }
  while (rc == kSuccess) {
    uint32_t want = 0, got = 0;
    rc = in->Read(buffer.data(), static_cast<uint32_t>(buffer.size()), want);
    if (rc == kSuccess) rc = out->Read(check.data(), static_cast<uint32_t>(check.size()), got);
    if (rc != kSuccess) break;
    if (want != got || std::memcmp(buffer.data(), check.data(), want) != 0) rc = kErrCrc;
    if (want == 0) break;
  }
  if (uint32_t closeRc = out ? out->Close() : kSuccess; rc == kSuccess) rc = closeRc;
  out.reset();
  in.reset();
  fs::path staged;
  if (rc == kSuccess && (rc = ToHostPath(temp, staged)) == kSuccess) {
    ::chmod(staged.c_str(), srcSt.st_mode & 0777);
    const struct timespec times[2] = {srcSt.st_atim, srcSt.st_mtim};
    ::utimensat(AT_FDCWD, staged.c_str(), times, 0);
    rc = ReplaceFile(temp, to);
  }
  if (rc != kSuccess) {
    DeleteFile(temp);
    return rc;
  }
  // The new name, too, must survive a power cut before anyone relies on it.
  if (const int dir = ::open(dst.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return kSuccess;
}

uint32_t DeviceFileSystem::CreateFolder(std::string_view phonePath) {
  fs::path host;
  if (uint32_t rc = ToHostPath(phonePath, host); rc != kSuccess) return rc;
  if (int err = MakeFolder(host); err != 0) return PathError(err, host);
  return kSuccess;
}

uint32_t DeviceFileSystem::CreateFolders(std::string_view phonePath) {
  fs::path host;
  if (uint32_t rc = ToHostPath(phonePath, host); rc != kSuccess) return rc;
  const int err = MakeFolders(host);
  struct stat st {};
  if (Stat(host, st)) return S_ISDIR(st.st_mode) ? kSuccess : kErrAlreadyExists;
  return err != 0 ? ErrorFromErrno(err) : kErrPathNotFound;
}

uint32_t DeviceFileSystem::RemoveFolder(std::string_view phonePath) {
  fs::path host;
  if (uint32_t rc = ToHostPath(phonePath, host); rc != kSuccess) return rc;
  struct stat st {};
  if (host == root_ || (LStat(host, st) && S_ISLNK(st.st_mode))) return kErrAccessDenied;
  if (::rmdir(host.c_str()) != 0) return errno == EEXIST ? kErrDirNotEmpty : PathError(errno, host);
  return kSuccess;
}

FileStamp DeviceFileSystem::Stamp(std::string_view phonePath) const {
  fs::path host;
  return ToHostPath(phonePath, host) == kSuccess ? FileStamp::OfHostPath(host) : FileStamp{};
}

bool DeviceFileSystem::Exists(std::string_view phonePath) const {
  fs::path host;
  struct stat st {};
  return ToHostPath(phonePath, host) == kSuccess && Stat(host, st);
}

bool DeviceFileSystem::IsDirectory(std::string_view phonePath) const {
  fs::path host;
  struct stat st {};
  return ToHostPath(phonePath, host) == kSuccess && Stat(host, st) && S_ISDIR(st.st_mode);
}

uint32_t DeviceFileSystem::GetInfo(std::string_view phonePath, FileInfo& out) const {
  fs::path host;
  if (uint32_t rc = ToHostPath(phonePath, host); rc != kSuccess) return rc;
  const bool top = host != root_ && host.parent_path() == root_;
  return FillInfo(host, host == root_ ? std::string() : host.filename().string(), top && IsCardHost(root_, host),
                  out);
}

uint32_t DeviceFileSystem::SetLastWriteTime(std::string_view phonePath, uint32_t timeValue) {
  fs::path host;
  if (uint32_t rc = ToHostPath(phonePath, host); rc != kSuccess) return rc;
  struct timespec times[2] = {};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = UnixFromLocalTimeValue(timeValue);
  if (::utimensat(AT_FDCWD, host.c_str(), times, 0) != 0) return PathError(errno, host);
  return kSuccess;
}

uint32_t DeviceFileSystem::Enumerate(std::string_view folder, std::vector<FileInfo>& out) const {
  out.clear();
  fs::path host;
  if (uint32_t rc = ToHostPath(folder, host); rc != kSuccess) return rc;
  DIR* d = ::opendir(host.c_str());
  if (d == nullptr) return errno == ENOTDIR ? kErrPathNotFound : PathError(errno, host);
  const bool atRoot = host == root_;
  while (const dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    const fs::path entry = host / name;
    const bool card = atRoot && IsCardHost(root_, entry);
    struct stat lst {};
    // Links that lead out of the device are not part of it.
    if (!card && LStat(entry, lst) && S_ISLNK(lst.st_mode)) {
      fs::path resolved;
      if (ToHostPath(JoinPhonePath(folder, name), resolved) != kSuccess) continue;
    }
    FileInfo info;
    if (FillInfo(entry, std::move(name), card, info) == kSuccess) out.push_back(std::move(info));
  }
  ::closedir(d);
  return kSuccess;
}

std::string DeviceFileSystem::TempFolder() {
  const std::string temp = "\\Temp";
  CreateFolders(temp);
  return temp;
}

uint32_t DeviceFileSystem::MakeTempFileName(std::string_view folder, std::string_view prefix, std::string& out) {
  out.clear();
  if (!prefix.empty() && !IsPlainFileName(prefix)) return kErrInvalidParameter;
  fs::path dir;
  if (uint32_t rc = ToHostPath(folder, dir); rc != kSuccess) return rc;
  struct stat st {};
  if (!Stat(dir, st) || !S_ISDIR(st.st_mode)) return kErrPathNotFound;
  static uint32_t counter = [] {
    std::random_device rd;
    return static_cast<uint32_t>(rd()) ^ static_cast<uint32_t>(::getpid());
  }();
  for (uint32_t tries = 0; tries < 0x10000; ++tries) {
    const uint32_t n = counter++ & 0xFFFF;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(n));
    const std::string name = std::string(prefix) + hex + ".tmp";
    const std::string phone = JoinPhonePath(folder, name);
    fs::path host;
    if (uint32_t rc = ToHostPath(phone, host); rc != kSuccess) return rc;
    if (host.filename() != name) continue;  // taken under another letter case
    int fd = OpenCreating(host, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return PathError(errno, host);
    }
    ::close(fd);
    out = phone;
    return kSuccess;
  }
  return kErrFileExists;
}

}  // namespace platform
