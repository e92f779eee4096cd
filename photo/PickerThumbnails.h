#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QThread>
#include <QThreadPool>
#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace photo {

// The picker's thumbnails. Photos are decoded for the cell size on worker
// threads (pure computation on the file's bytes: no model, no widget), the
// most wanted first; the finished pictures come back on the GUI thread and
// are kept for the photos near the view, keyed by path and last-write time, up
// to a number of pictures. Nothing is decoded twice while it is kept.
class PickerThumbnails : public QObject {
  Q_OBJECT

 public:
  struct Photo {
    int index = 0;         // the picker's item
    std::string path;      // phone path (the key, with the time)
    uint32_t lastWriteTime = 0;
    std::string hostPath;  // where the worker reads it
  };
  struct Picture {
    QImage image;   // null when the file could not be decoded: the cell stays white
    QPoint offset;  // where in the cell it goes
  };

  PickerThumbnails(QSize cell, size_t capacity, int threads = 0);
  ~PickerThumbnails() override;

  // The picture of a photo when it is kept; marks it as just used.
  const Picture* Find(const Photo& photo);
  // The photos to have, most urgent first: the queue becomes these (those kept
  // or on their way are not asked again); pictures beyond the capacity go,
  // the least recently used first, never one of these.
  void Want(const std::vector<Photo>& photos);
  // Forgets every picture and the queue (a new cell size).
  void Reset(QSize cell);

  size_t KeptCount() const { return kept_.size(); }
  size_t KeptBytes() const;
  size_t Capacity() const { return capacity_; }
  bool Idle() const;

 signals:
  // A picture arrived for item `index`.
  void Ready(int index);

 private:
  struct Key {
    std::string path;
    uint32_t time = 0;
    bool operator<(const Key& other) const {
      return time != other.time ? time < other.time : path < other.path;
    }
  };
  struct Job {
    Photo photo;
    QSize cell;
    uint64_t generation = 0;
  };
  struct Kept {
    Picture picture;
    std::list<Key>::iterator use;
  };

  static Picture Decode(const std::string& hostPath, const std::string& phonePath, QSize cell);
  void RunWorker();
  void Store(const Job& job, Picture picture);
  void Trim();
  static Key KeyOf(const Photo& photo) { return {photo.path, photo.lastWriteTime}; }

  QSize cell_;
  size_t capacity_;
  std::map<Key, Kept> kept_;
  std::list<Key> uses_;      // most recently used first
  std::set<Key> requested_;  // queued or being decoded
  std::vector<Photo> wanted_;
  uint64_t generation_ = 0;  // a new cell size makes older pictures useless

  std::mutex mutex_;  // guards queue_, running_ and stopping_
  std::deque<Job> queue_;
  int running_ = 0;
  bool stopping_ = false;
  int threads_;
  QThreadPool pool_;
};

}  // namespace photo
