#include "model/ArchiveFile.h"

#include <memory>
#include <new>

#include "model/AtomicFileWriter.h"
#include "model/CObject.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"

namespace model::archivefile {

namespace {

// Larger files are not archives of this program (10,000 entries with 4 KB
// thumbnails take about 45 MB); the cap also bounds what a hostile file can make
// the reader allocate.
constexpr uint64_t kMaxArchiveBytes = uint64_t{1} << 28;

}  // namespace

uint32_t ReadAll(std::string_view path, FileBytes& bytes, platform::FileStamp* stamp) {
  std::unique_ptr<platform::File> file;
  uint32_t rc = platform::DeviceFileSystem::Current().OpenFile(path, platform::OpenMode::Read, file);
  if (rc != 0) return rc;
  if (stamp != nullptr) *stamp = file->Stamp();
  uint64_t size = 0;
  if ((rc = file->Size(size)) != 0) return rc;
  if (size > kMaxArchiveBytes) return platform::kErrInvalidData;
  bytes.data.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
  if (!bytes.data) return platform::kErrNotEnoughMemory;
  size_t have = 0;
  while (have < size) {
    uint32_t got = 0;
    rc = file->Read(bytes.data.get() + have, static_cast<uint32_t>(size - have), got);
    if (rc != 0) return rc;
    if (got == 0) break;  // the file shrank while we read it
    have += got;
  }
  bytes.size = have;
  return 0;
}

uint32_t WriteAtomically(std::string_view path, CObject& obj, bool& created, platform::FileStamp* stamp) {
  AtomicFileWriter writer(platform::DeviceFileSystem::Current(), std::string(path));
  uint32_t rc = writer.Open();
  created = rc == 0;
  if (!created) return rc;
  Archive ar = Archive::ForWriting(
      [&writer](const uint8_t* data, size_t len) { return writer.Write(data, len); });
  obj.Serialize(ar);
  if ((rc = ar.Flush()) != 0) return rc;
  if ((rc = writer.Commit()) != 0) return rc;
  if (stamp != nullptr) *stamp = writer.Stamp();
  return 0;
}

}  // namespace model::archivefile
