#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <set>
#include <unordered_set>
#include <utility>
#include <vector>

namespace platform {
struct FileInfo;
}

namespace model {

class CWinBlogStorage;
class ProgressReporter;

// A photo found on the device: its phone path, its creation time (time value),
// and what the picker's thumbnails are keyed by and read from.
class CImageItem {
 public:
  CImageItem(std::string path, uint32_t creationTime) : path_(std::move(path)), creationTime_(creationTime) {}
  virtual ~CImageItem() = default;

  const std::string& Path() const { return path_; }
  uint32_t CreationTime() const { return creationTime_; }

  uint32_t lastWriteTime = 0;
  std::string hostPath;  // the file on the host, inside the device root

 private:
  std::string path_;
  uint32_t creationTime_;
};

// The photos of the device a blog can take: every JPEG file under "My
// Documents" and, for each storage card, under its "DCIM" and "My Documents",
// that no entry of the blog uses yet; newest first, photos of the same time in
// the order they were found. Folders are walked depth first, their entries in
// name order without regard to letter case (as are the cards).
class PhotoScan {
 public:
  using Items = std::vector<std::unique_ptr<CImageItem>>;

  explicit PhotoScan(const CWinBlogStorage* blog);

  // Scans again from the start. The progress shows each folder's path on its
  // line 1 and is pumped for every entry looked at; a Cancel there ends the scan
  // with the photos found so far.
  void Collect(ProgressReporter* progress);
  const Items& GetItems() const { return items_; }
  Items TakeItems() { return std::move(items_); }

  // "jpg" or "jpeg" after the name's last dot, in any letter case.
  static bool IsJpegName(std::string_view name);

  // What counts as a file's creation time: by default its creation time as the
  // file system gives it (tests use the last-write time, which they can set).
  using TimeOf = std::function<uint32_t(const platform::FileInfo&)>;
  void SetTimeOf(TimeOf timeOf) { timeOf_ = std::move(timeOf); }

 private:
  // Adds the photos of `folder` and its subfolders; false once cancelled.
  bool ScanFolder(const std::string& folder, ProgressReporter* progress);
  bool Walk(const std::string& folder, ProgressReporter* progress);

  std::unordered_set<std::string> used_;  // the blog's photo paths, folded
  std::set<std::pair<uint64_t, uint64_t>> visited_;  // folders walked (device, inode), against loops
  Items items_;
  TimeOf timeOf_;
};

}  // namespace model
