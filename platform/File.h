#pragma once

#include <cstdint>
#include <string>

#include "platform/FileStamp.h"

namespace platform {

// An open file of the device file system (stands on a POSIX file descriptor).
// Every operation answers a platform result code.
class File {
 public:
  File(int fd, std::string phonePath);
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Reads up to `len` bytes; `got` is 0 at the end of the file.
  uint32_t Read(void* buffer, uint32_t len, uint32_t& got);
  // Writes all `len` bytes or fails (short writes are retried).
  uint32_t Write(const void* data, uint32_t len);
  uint32_t Seek(uint64_t position);
  uint32_t Size(uint64_t& size) const;
  uint32_t Truncate(uint64_t size);
  // Forces the written bytes to the storage medium.
  uint32_t Sync();
  // Lets the host forget the file's cached pages once they are on the medium, so
  // that the next read comes from the medium itself.
  void DropCache();
  uint32_t Close();
  // Takes an advisory lock on the file without waiting: 0, or 33 when another
  // open of the file holds it. Closing the file drops it.
  uint32_t TryLock();
  FileStamp Stamp() const;

  bool IsOpen() const { return fd_ >= 0; }
  const std::string& PhonePath() const { return phonePath_; }

 private:
  int fd_;
  std::string phonePath_;
};

}  // namespace platform
