#include "platform/DeviceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <mutex>

#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"

namespace platform {

namespace {

// The locks this program holds: device root -> open lock file and holders.
struct Held {
  int fd = -1;
  int holders = 0;
};

std::mutex g_mutex;
std::map<std::string, Held>& Locks() {
  static std::map<std::string, Held> locks;
  return locks;
}

}  // namespace

DeviceLock::DeviceLock(const DeviceFileSystem& fs) {
  std::error_code ec;
  const std::filesystem::path root = std::filesystem::weakly_canonical(fs.HostRoot(), ec);
  root_ = (ec ? fs.HostRoot() : root).string();
}

DeviceLock::~DeviceLock() { Unlock(); }

uint32_t DeviceLock::TryLock() {
  if (locked_) return kSuccess;
  std::lock_guard<std::mutex> guard(g_mutex);
  Held& held = Locks()[root_];
  if (held.holders == 0) {
    const std::string path = (std::filesystem::path(root_) / kFileName).string();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
      const int err = errno;
      Locks().erase(root_);
      return ErrorFromErrno(err);
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 0077) != 0) ::fchmod(fd, 0600);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int err = errno;
      ::close(fd);
      Locks().erase(root_);
      return err == EWOULDBLOCK ? kErrLockViolation : ErrorFromErrno(err);
    }
    held.fd = fd;
  }
  ++held.holders;
  locked_ = true;
  return kSuccess;
}

void DeviceLock::Unlock() {
  if (!locked_) return;
  locked_ = false;
  std::lock_guard<std::mutex> guard(g_mutex);
  auto it = Locks().find(root_);
  if (it == Locks().end() || --it->second.holders > 0) return;
  ::close(it->second.fd);
  Locks().erase(it);
}

}  // namespace platform
