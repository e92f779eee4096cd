#include "image/EntryThumbnail.h"

#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "image/JpegDrawer.h"
#include "image/JpegFileSource.h"
#include "image/JpegWriter.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"

namespace image {

namespace {

constexpr char kTempPrefix[] = "MVTemp";

// Reads the whole (small, self-made) thumbnail file.
int32_t ReadWhole(platform::DeviceFileSystem& fs, const std::string& path, std::vector<uint8_t>& out) {
  std::unique_ptr<platform::File> file;
  if (uint32_t rc = fs.OpenFile(path, platform::OpenMode::Read, file); rc != 0) return static_cast<int32_t>(rc);
  uint64_t size = 0;
  if (uint32_t rc = file->Size(size); rc != 0) return static_cast<int32_t>(rc);
  try {
    out.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    out = {};
    return static_cast<int32_t>(platform::kErrNotEnoughMemory);
  }
  size_t done = 0;
  while (done < out.size()) {
    uint32_t got = 0;
    uint32_t rc = file->Read(out.data() + done, static_cast<uint32_t>(out.size() - done), got);
    if (rc == 0 && got == 0) rc = platform::kErrHandleEof;
    if (rc != 0) {
      out = {};
      return static_cast<int32_t>(rc);
    }
    done += got;
  }
  return 0;
}

}  // namespace

int32_t MakeEntryThumbnail(platform::File& photo, std::vector<uint8_t>& thumbnail) {
  thumbnail.clear();
  JpegFileSource source(photo);
  Rect target{0, 0, static_cast<int32_t>(kEntryThumbnailSize), static_cast<int32_t>(kEntryThumbnailSize)};
  std::unique_ptr<Bitmap> bitmap;
  if (int32_t rc = DecodeJpegToBitmap(source, target, kDrawFill | kDrawKeepBitmap, bitmap); rc != 0) return rc;

  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  std::string tempPath;
  if (uint32_t rc = fs.MakeTempFileName(fs.TempFolder(), kTempPrefix, tempPath); rc != 0) {
    return static_cast<int32_t>(rc);
  }
  std::filesystem::path host;
  int32_t rc = static_cast<int32_t>(fs.ToHostPath(tempPath, host));
  if (rc == 0 && !WriteBitmapAsJpeg(*bitmap, host.string(), kEntryThumbnailQuality)) {
    rc = static_cast<int32_t>(platform::kErrGenFailure);
  }
  if (rc == 0) rc = ReadWhole(fs, tempPath, thumbnail);
  fs.DeleteFile(tempPath);
  return rc;
}

}  // namespace image
