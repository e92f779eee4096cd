#include "platform/File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"

namespace platform {

File::File(int fd, std::string phonePath) : fd_(fd), phonePath_(std::move(phonePath)) {}

File::~File() { Close(); }

uint32_t File::Read(void* buffer, uint32_t len, uint32_t& got) {
  got = 0;
  if (fd_ < 0) return kErrInvalidHandle;
  auto* out = static_cast<unsigned char*>(buffer);
  while (got < len) {
    ssize_t n = ::read(fd_, out + got, len - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrorFromErrno(errno);
    }
    if (n == 0) break;
    got += static_cast<uint32_t>(n);
  }
  return kSuccess;
}

uint32_t File::Write(const void* data, uint32_t len) {
  if (fd_ < 0) return kErrInvalidHandle;
  if (const auto& fault = DeviceFileSystem::Current().GetWriteFault(); fault) {
    if (uint32_t rc = fault(phonePath_, len); rc != kSuccess) return rc;
  }
  const auto* in = static_cast<const unsigned char*>(data);
  uint32_t done = 0;
  while (done < len) {
    ssize_t n = ::write(fd_, in + done, len - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrorFromErrno(errno);
    }
    if (n == 0) return kErrDiskFull;
    done += static_cast<uint32_t>(n);
  }
  return kSuccess;
}

uint32_t File::Seek(uint64_t position) {
  if (fd_ < 0) return kErrInvalidHandle;
  if (position > static_cast<uint64_t>(INT64_MAX)) return kErrInvalidParameter;
  if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0) return ErrorFromErrno(errno);
  return kSuccess;
}

uint32_t File::Size(uint64_t& size) const {
  size = 0;
  if (fd_ < 0) return kErrInvalidHandle;
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return ErrorFromErrno(errno);
  size = static_cast<uint64_t>(st.st_size);
  return kSuccess;
}

uint32_t File::Truncate(uint64_t size) {
  if (fd_ < 0) return kErrInvalidHandle;
  if (size > static_cast<uint64_t>(INT64_MAX)) return kErrInvalidParameter;
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return ErrorFromErrno(errno);
  return kSuccess;
}

uint32_t File::Sync() {
  if (fd_ < 0) return kErrInvalidHandle;
  if (::fsync(fd_) != 0) return ErrorFromErrno(errno);
  return kSuccess;
}

void File::DropCache() {
  if (fd_ >= 0) ::posix_fadvise(fd_, 0, 0, POSIX_FADV_DONTNEED);
}

uint32_t File::Close() {
  if (fd_ < 0) return kSuccess;
  int fd = std::exchange(fd_, -1);
  // The descriptor is gone even when close reports an error; a delayed write
  // error still has to reach the caller.
  if (::close(fd) != 0 && errno != EINTR) return ErrorFromErrno(errno);
  return kSuccess;
}

uint32_t File::TryLock() {
  if (fd_ < 0) return kErrInvalidHandle;
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) return ErrorFromErrno(errno);
  return kSuccess;
}

FileStamp File::Stamp() const { return fd_ < 0 ? FileStamp{} : FileStamp::OfDescriptor(fd_); }

}  // namespace platform
