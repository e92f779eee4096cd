#include "model/AtomicFileWriter.h"

#include "platform/ErrorCodes.h"

namespace model {

AtomicFileWriter::AtomicFileWriter(platform::DeviceFileSystem& fs, std::string targetPath)
    : fs_(fs), target_(std::move(targetPath)) {}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

uint32_t AtomicFileWriter::Open() {
  const std::string_view parent = platform::PhoneFolderOf(target_);
  const std::string folder = parent.empty() ? std::string(1, '\\') : std::string(parent);
  uint32_t rc = fs_.MakeTempFileName(folder, "~sav", tempPath_);
  if (rc != 0) return rc;
  rc = fs_.OpenFile(tempPath_, platform::OpenMode::CreateAlways, file_);
  if (rc != 0) {
    Discard();
    return rc;
  }
  return 0;
}

uint32_t AtomicFileWriter::Write(const uint8_t* data, size_t len) {
  if (!file_) return platform::kErrInvalidHandle;
  while (len > 0) {
    uint32_t chunk = len > 0x40000000u ? 0x40000000u : static_cast<uint32_t>(len);
    uint32_t rc = file_->Write(data, chunk);
    if (rc != 0) return rc;
    data += chunk;
    len -= chunk;
  }
  return 0;
}

uint32_t AtomicFileWriter::Commit() {
  if (!file_) return platform::kErrInvalidHandle;
  uint32_t rc = file_->Sync();
  if (rc == 0) rc = file_->Close();
  file_.reset();
  if (rc == 0) rc = fs_.ReplaceFile(tempPath_, target_);
  if (rc != 0) {
    Discard();
    return rc;
  }
  tempPath_.clear();
  return 0;
}

void AtomicFileWriter::Discard() {
  file_.reset();
  if (!tempPath_.empty()) {
    fs_.DeleteFile(tempPath_);
    tempPath_.clear();
  }
}

}  // namespace model
