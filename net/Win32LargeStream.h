#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "net/LargeStream.h"
#include "platform/DeviceFileSystem.h"
#include "platform/File.h"

namespace net {

// A file-backed stream on platform::File of the current device file system.
class Win32LargeStream : public LargeStream {
 public:
  // A stream over a new file "\Temp\tmpXXXX.tmp", deleted when the stream is destroyed.
  static std::unique_ptr<Win32LargeStream> CreateTemporary();
  // A stream over a file already open; the file is kept.
  static std::unique_ptr<Win32LargeStream> CreateOverFile(std::unique_ptr<platform::File> file);
  // A stream over an existing file, opened for reading and writing; the file is kept.
  static std::unique_ptr<Win32LargeStream> CreateOverPath(std::string_view phonePath);
  ~Win32LargeStream() override;

  bool FillBuffer() override;
  bool FlushBuffer() override;
  bool SeekFile(uint32_t position) override;
  uint32_t GetFileSize() override;
  bool ReadFile(uint8_t* data, uint32_t capacity, uint32_t& length) override;
  bool WriteFile(const uint8_t* data, uint32_t length) override;

  // The phone path of the file (empty when opened over a file without one).
  const std::string& Path() const { return path_; }

 private:
  Win32LargeStream() = default;
  bool Open();

  std::string path_;
  std::unique_ptr<platform::File> file_;
  bool deleteOnClose_ = false;
  platform::DeviceFileSystem* fs_ = nullptr;  // where the file lives
};

}  // namespace net
