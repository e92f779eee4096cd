#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/DeviceFileSystem.h"
#include "platform/File.h"
#include "platform/FileStamp.h"

namespace model {

// Replaces a file whole without ever leaving it half-written: the new bytes go to
// a temporary file ("~savXXXX.tmp") in the same folder, which is forced to the
// medium and then renamed over the target. Until Commit succeeds the old file is
// untouched; a writer destroyed without a successful Commit removes its
// temporary file. The temporary file stays locked until it has its final name,
// so that the next save in the folder can tell the ones a killed save left
// behind and remove them.
class AtomicFileWriter {
 public:
  AtomicFileWriter(platform::DeviceFileSystem& fs, std::string targetPath);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Removes stale temporary files of the folder and creates this one; answers 0
  // or the system code.
  uint32_t Open();
  uint32_t Write(const uint8_t* data, size_t len);
  // Flushes to the medium, renames over the target and closes; 0 or a system code.
  uint32_t Commit();
  // The stamp of the file Commit put in place.
  const platform::FileStamp& Stamp() const { return stamp_; }

 private:
  void Discard();
  void RemoveStaleTemporaries(const std::string& folder);

  platform::DeviceFileSystem& fs_;
  std::string target_;
  std::string tempPath_;
  std::unique_ptr<platform::File> file_;
  platform::FileStamp stamp_;
};

}  // namespace model
