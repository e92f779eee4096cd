#include "net/Win32LargeStream.h"

#include <limits>
#include <new>

#include "platform/ErrorCodes.h"

namespace net {

std::unique_ptr<Win32LargeStream> Win32LargeStream::CreateTemporary() {
  std::unique_ptr<Win32LargeStream> stream(new (std::nothrow) Win32LargeStream());
  if (!stream) {
    return nullptr;
  }
  stream->deleteOnClose_ = true;
  stream->fs_ = &platform::DeviceFileSystem::Current();
  if (!stream->Open()) {
    return nullptr;
  }
  return stream;
}

std::unique_ptr<Win32LargeStream> Win32LargeStream::CreateOverFile(std::unique_ptr<platform::File> file) {
  if (!file || !file->IsOpen()) {
    return nullptr;
  }
  std::unique_ptr<Win32LargeStream> stream(new (std::nothrow) Win32LargeStream());
  if (!stream) {
    return nullptr;
  }
  stream->path_ = file->PhonePath();
  stream->file_ = std::move(file);
  if (!stream->Open()) {
    return nullptr;
  }
  return stream;
}

std::unique_ptr<Win32LargeStream> Win32LargeStream::CreateOverPath(std::string_view phonePath) {
  if (phonePath.empty()) {
    return nullptr;
  }
  std::unique_ptr<Win32LargeStream> stream(new (std::nothrow) Win32LargeStream());
  if (!stream) {
    return nullptr;
  }
  stream->path_ = std::string(phonePath);
  stream->fs_ = &platform::DeviceFileSystem::Current();
  if (!stream->Open()) {
    return nullptr;
  }
  return stream;
}

bool Win32LargeStream::Open() {
  if (!AllocateBuffer()) {
    return false;
  }
  if (file_) {
    return true;
  }
  if (path_.empty()) {
    const std::string folder = fs_->TempFolder();
    if (folder.empty() || fs_->MakeTempFileName(folder, "tmp", path_) != platform::kSuccess) {
      path_.clear();
      return false;
    }
  }
  const platform::OpenMode mode = deleteOnClose_ ? platform::OpenMode::CreateAlways : platform::OpenMode::ReadWrite;
  if (fs_->OpenFile(path_, mode, file_) != platform::kSuccess || !file_ || !file_->IsOpen()) {
    file_.reset();
    return false;
  }
  return true;
}

Win32LargeStream::~Win32LargeStream() {
  if (file_) {
    // Bytes written since the last flush belong in a file that is kept.
    if (!deleteOnClose_ && dirty_) {
      FlushBuffer();
    }
    file_->Close();
    file_.reset();
  }
  // A temporary file is removed even when opening it failed after its name was made.
  if (deleteOnClose_ && fs_ != nullptr && !path_.empty()) {
    fs_->DeleteFile(path_);
  }
}

bool Win32LargeStream::FillBuffer() {
  uint32_t got = 0;
  const uint32_t rc = file_->Read(buffer_, bufferCapacity_, got);
  buffered_ = rc == platform::kSuccess ? got : 0;
  return buffered_ > 0;
}

bool Win32LargeStream::FlushBuffer() {
  // platform::File::Write repeats short writes until everything is written.
  return buffered_ == 0 || WriteFile(buffer_, buffered_);
}

bool Win32LargeStream::ReadFile(uint8_t* data, uint32_t capacity, uint32_t& length) {
  length = 0;
  return file_->Read(data, capacity, length) == platform::kSuccess && length > 0;
}

bool Win32LargeStream::WriteFile(const uint8_t* data, uint32_t length) {
  return file_->Write(data, length) == platform::kSuccess;
}

bool Win32LargeStream::SeekFile(uint32_t position) { return file_->Seek(position) == platform::kSuccess; }

uint32_t Win32LargeStream::GetFileSize() {
  uint64_t size = 0;
  if (file_->Size(size) != platform::kSuccess) {
    return 0;
  }
  return size > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                      : static_cast<uint32_t>(size);
}

}  // namespace net
