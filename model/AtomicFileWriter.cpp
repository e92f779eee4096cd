#include "model/AtomicFileWriter.h"

#include <cctype>
#include <vector>

#include "model/NoCase.h"
#include "platform/ErrorCodes.h"

namespace model {

namespace {

constexpr std::string_view kTempPrefix = "~sav";
constexpr std::string_view kTempSuffix = ".tmp";

// "~sav" and four hex digits and ".tmp", as the device file system names them.
bool IsSaveTemporary(std::string_view name) {
  constexpr size_t kDigits = 4;
  if (name.size() != kTempPrefix.size() + kDigits + kTempSuffix.size() ||
      !EqualsNoCase(name.substr(0, kTempPrefix.size()), kTempPrefix) ||
      !EqualsNoCase(name.substr(name.size() - kTempSuffix.size()), kTempSuffix)) {
    return false;
  }
  for (char c : name.substr(kTempPrefix.size(), kDigits)) {
    if (std::isxdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(platform::DeviceFileSystem& fs, std::string targetPath)
    : fs_(fs), target_(std::move(targetPath)) {}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

uint32_t AtomicFileWriter::Open() {
  const std::string_view parent = platform::PhoneFolderOf(target_);
  const std::string folder = parent.empty() ? std::string(1, '\\') : std::string(parent);
  RemoveStaleTemporaries(folder);
  uint32_t rc = fs_.MakeTempFileName(folder, std::string(kTempPrefix), tempPath_);
  if (rc != 0) return rc;
  rc = fs_.OpenFile(tempPath_, platform::OpenMode::CreateAlways, file_);
  if (rc == 0) rc = file_->TryLock();
  if (rc != 0) {
    Discard();
    return rc;
  }
  return 0;
}

void AtomicFileWriter::RemoveStaleTemporaries(const std::string& folder) {
  std::vector<platform::FileInfo> items;
  if (fs_.Enumerate(folder, items) != 0) return;
  for (const platform::FileInfo& item : items) {
    if (item.isDirectory || !IsSaveTemporary(item.name)) continue;
    const std::string path = platform::JoinPhonePath(folder, item.name);
    std::unique_ptr<platform::File> stale;
    // A save under way elsewhere holds its file locked; one that was killed does not.
    if (fs_.OpenFile(path, platform::OpenMode::Read, stale) == 0 && stale->TryLock() == 0) fs_.DeleteFile(path);
  }
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
  if (rc == 0) {
    stamp_ = file_->Stamp();
    rc = fs_.ReplaceFile(tempPath_, target_);
  }
  if (rc != 0) {
    Discard();
    return rc;
  }
  tempPath_.clear();
  rc = file_->Close();
  file_.reset();
  return rc;
}

void AtomicFileWriter::Discard() {
  file_.reset();
  if (!tempPath_.empty()) {
    fs_.DeleteFile(tempPath_);
    tempPath_.clear();
  }
}

}  // namespace model
