#pragma once

#include <cstdint>
#include <string>

namespace platform {

class DeviceFileSystem;

// The lock that lets one program at a time change the files of a device root:
// an advisory lock (flock) on the file ".tessary-lock" in the root, which the
// system drops when the program ends, however it ends. Within one program the
// lock is counted, so that a holder inside another does not wait for itself.
class DeviceLock {
 public:
  static constexpr const char* kFileName = ".tessary-lock";

  // The lock of `fs`'s device root, not taken yet.
  explicit DeviceLock(const DeviceFileSystem& fs);
  ~DeviceLock();
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

  // Takes the lock unless another program holds it: 0, 33 when another program
  // holds it, or the system code when the lock file cannot be opened.
  uint32_t TryLock();
  // Gives up this holder's share; the last one releases the lock.
  void Unlock();
  bool IsLocked() const { return locked_; }

 private:
  std::string root_;
  bool locked_ = false;
};

}  // namespace platform
