#include "model/PhotoScan.h"

#include <algorithm>
#include <new>

#include "model/CWinBlogStorage.h"
#include "model/NoCase.h"
#include "model/ProgressReporter.h"
#include "platform/DeviceFileSystem.h"
#include "platform/FileStamp.h"

namespace model {

namespace {

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

// The system lists a folder in no fixed order: take its entries by name.
void SortByName(std::vector<platform::FileInfo>& entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const platform::FileInfo& a, const platform::FileInfo& b) {
    return CompareNoCase(a.name, b.name) < 0;
  });
}

}  // namespace

PhotoScan::PhotoScan(const CWinBlogStorage* blog) {
  if (blog == nullptr) return;
  for (const auto& entry : blog->Entries()) {
    if (!entry->IsRemoved() && !entry->photoPath.empty()) used_.insert(Folded(entry->photoPath));
  }
}

bool PhotoScan::IsJpegName(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = name.substr(dot + 1);
  return EqualsNoCase(extension, "jpg") || EqualsNoCase(extension, "jpeg");
}

void PhotoScan::Collect(ProgressReporter* progress) {
  items_.clear();
  visited_.clear();
  if (ScanFolder(platform::DeviceFileSystem::MyDocuments(), progress)) {
    std::vector<platform::FileInfo> roots;
    platform::DeviceFileSystem::Current().Enumerate("\\", roots);
    SortByName(roots);
    for (const platform::FileInfo& root : roots) {
      if (!root.isDirectory || !root.isTemporary) continue;
      const std::string card = platform::JoinPhonePath("\\", root.name);
      if (!ScanFolder(platform::JoinPhonePath(card, "DCIM"), progress) ||
          !ScanFolder(platform::JoinPhonePath(card, "My Documents"), progress)) {
        break;
      }
    }
  }
  // Newest first; photos of one time stay in the order they were found.
  std::stable_sort(items_.begin(), items_.end(), [](const auto& a, const auto& b) {
    return a->CreationTime() > b->CreationTime();
  });
}

bool PhotoScan::ScanFolder(const std::string& folder, ProgressReporter* progress) {
  if (progress != nullptr) progress->SetLine(1, folder);
  return Walk(folder, progress);
}

bool PhotoScan::Walk(const std::string& folder, ProgressReporter* progress) {
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  std::filesystem::path hostFolder;
  if (fs.ToHostPath(folder, hostFolder) != 0) return true;
  // A folder linked into itself is walked once.
  const platform::FileStamp stamp = platform::FileStamp::OfHostPath(hostFolder);
  if (!stamp.exists || !visited_.insert({static_cast<uint64_t>(stamp.dev), static_cast<uint64_t>(stamp.ino)}).second) {
    return true;
  }
  if (progress != nullptr && progress->IsCancelled()) return false;
  std::vector<platform::FileInfo> entries;
  if (fs.Enumerate(folder, entries) != 0) return true;
  SortByName(entries);
  for (const platform::FileInfo& entry : entries) {
    if (progress != nullptr) progress->Pump();
    const std::string path = platform::JoinPhonePath(folder, entry.name);
    if (entry.isDirectory) {
      if (!Walk(path, progress)) return false;
      continue;
    }
    if (!IsJpegName(entry.name) || used_.count(Folded(path)) != 0) continue;
    try {
      auto item = std::make_unique<CImageItem>(path, timeOf_ ? timeOf_(entry) : entry.creationTime);
      item->lastWriteTime = entry.lastWriteTime;
      item->hostPath = (hostFolder / entry.name).string();
      items_.push_back(std::move(item));
    } catch (const std::bad_alloc&) {
      // The photos found so far stay.
      return true;
    }
  }
  return true;
}

}  // namespace model
