#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>

namespace platform {

// What tells one version of a file from another: every save of ours writes a
// new file and renames it into place, so another program's save changes the
// file's identity, and a change in place changes its time or size.
struct FileStamp {
  bool exists = false;
  bool regular = false;  // a plain file, not a folder, pipe or device
  dev_t dev = 0;
  ino_t ino = 0;
  int64_t mtimeSec = 0;
  int64_t mtimeNsec = 0;
  int64_t size = 0;

  bool operator==(const FileStamp&) const = default;

  static FileStamp OfHostPath(const std::filesystem::path& host);
  static FileStamp OfDescriptor(int fd);
};

}  // namespace platform
