#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/DeviceFileSystem.h"
#include "platform/File.h"

namespace model {

// Replaces a file whole without ever leaving it half-written: the new bytes go to
// a temporary file in the same folder, which is forced to the medium and then
// renamed over the target. Until Commit succeeds the old file is untouched; a
// writer destroyed without a successful Commit removes its temporary file.
class AtomicFileWriter {
 public:
  AtomicFileWriter(platform::DeviceFileSystem& fs, std::string targetPath);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file; answers 0 or the system code.
  uint32_t Open();
  uint32_t Write(const uint8_t* data, size_t len);
  // Flushes to the medium, closes and renames over the target; 0 or a system code.
  uint32_t Commit();

 private:
  void Discard();

  platform::DeviceFileSystem& fs_;
  std::string target_;
  std::string tempPath_;
  std::unique_ptr<platform::File> file_;
};

}  // namespace model
