#include "photo/PickerThumbnails.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "image/JpegDrawer.h"
#include "image/JpegFileSource.h"
#include "platform/File.h"

namespace photo {

PickerThumbnails::PickerThumbnails(QSize cell, size_t capacity, int threads)
    : cell_(cell), capacity_(std::max<size_t>(capacity, 1)),
      threads_(threads > 0 ? threads : std::max(1, QThread::idealThreadCount())) {
  pool_.setMaxThreadCount(threads_);
}

PickerThumbnails::~PickerThumbnails() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  pool_.waitForDone();
}

const PickerThumbnails::Picture* PickerThumbnails::Find(const Photo& photo) {
  auto found = kept_.find(KeyOf(photo));
  if (found == kept_.end()) return nullptr;
  uses_.splice(uses_.begin(), uses_, found->second.use);
  return &found->second.picture;
}

void PickerThumbnails::Want(const std::vector<Photo>& photos) {
  wanted_ = photos;
  std::deque<Job> jobs;
  std::set<Key> queued;
  for (const Photo& photo : photos) {
    const Key key = KeyOf(photo);
    if (kept_.count(key) != 0 || !queued.insert(key).second) continue;
    jobs.push_back(Job{photo, cell_, generation_});
  }
  int start = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // What was queued and is no longer wanted leaves the queue; what a worker
    // already took arrives all the same.
    for (const Job& old : queue_) requested_.erase(KeyOf(old.photo));
    queue_.clear();
    for (Job& job : jobs) {
      if (requested_.insert(KeyOf(job.photo)).second) queue_.push_back(std::move(job));
    }
    start = std::min<int>(threads_ - running_, static_cast<int>(queue_.size()));
    running_ += std::max(0, start);
  }
  for (int i = 0; i < start; ++i) pool_.start([this] { RunWorker(); });
  Trim();
}

void PickerThumbnails::Reset(QSize cell) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
  }
  cell_ = cell;
  ++generation_;
  kept_.clear();
  uses_.clear();
  requested_.clear();
  wanted_.clear();
}

size_t PickerThumbnails::KeptBytes() const {
  size_t bytes = 0;
  for (const auto& [key, kept] : kept_) bytes += static_cast<size_t>(kept.picture.image.sizeInBytes());
  return bytes;
}

bool PickerThumbnails::Idle() const { return requested_.empty(); }

void PickerThumbnails::RunWorker() {
  for (;;) {
    Job job;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_ || queue_.empty()) {
        --running_;
        return;
      }
      job = std::move(queue_.front());
      queue_.pop_front();
    }
    Picture picture = Decode(job.photo.hostPath, job.photo.path, job.cell);
    QMetaObject::invokeMethod(
        this, [this, job, picture] { Store(job, picture); }, Qt::QueuedConnection);
  }
}

void PickerThumbnails::Store(const Job& job, Picture picture) {
  if (job.generation != generation_) return;
  const Key key = KeyOf(job.photo);
  requested_.erase(key);
  auto [at, added] = kept_.try_emplace(key);
  if (added) {
    uses_.push_front(key);
    at->second.use = uses_.begin();
  }
  at->second.picture = std::move(picture);
  Trim();
  emit Ready(job.photo.index);
}

void PickerThumbnails::Trim() {
  if (kept_.size() <= capacity_) return;
  std::set<Key> keep;
  for (const Photo& photo : wanted_) keep.insert(KeyOf(photo));
  for (auto use = uses_.end(); use != uses_.begin() && kept_.size() > capacity_;) {
    --use;
    if (keep.count(*use) != 0) continue;
    kept_.erase(*use);
    use = uses_.erase(use);
  }
}

PickerThumbnails::Picture PickerThumbnails::Decode(const std::string& hostPath, const std::string& phonePath,
                                                   QSize cell) {
  Picture picture;
  // Not blocking: a pipe in the place of a photo must not hold a worker.
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return picture;
  struct stat st {};
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return picture;
  }
  platform::File file(fd, phonePath);
  image::JpegFileSource source(file);
  image::Rect target{0, 0, cell.width(), cell.height()};
  std::unique_ptr<image::Bitmap> bitmap;
  if (image::DecodeJpegToBitmap(source, target, 0, bitmap) != 0 || !bitmap) return picture;
  QImage image(static_cast<int>(bitmap->Width()), static_cast<int>(bitmap->Height()), QImage::Format_RGB16);
  for (uint32_t y = 0; y < bitmap->Height(); ++y) {
    std::memcpy(image.scanLine(static_cast<int>(y)), bitmap->Row(y), size_t{bitmap->Width()} * 2);
  }
  picture.image = std::move(image);
  picture.offset = QPoint(target.left, target.top);
  return picture;
}

}  // namespace photo
