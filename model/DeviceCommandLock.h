#pragma once

#include <cstdint>

#include "platform/DeviceLock.h"

namespace model {

class ProgressReporter;

// Held by every command that changes the user file or a blog database, from
// before it reads them until it has saved them (a whole sync included), so that
// two Tessary programs on one device root never lose each other's changes. A
// program holds it only while such a command runs, never while idle; after
// taking it, a program that keeps the account in memory brings it up to date
// (CWinBlogUser::ReloadIfChanged) before the command reads anything. Released
// when it goes.
class DeviceCommandLock {
 public:
  // For the current device file system.
  DeviceCommandLock();
  ~DeviceCommandLock() = default;
  DeviceCommandLock(const DeviceCommandLock&) = delete;
  DeviceCommandLock& operator=(const DeviceCommandLock&) = delete;

  // Takes the lock, waiting while another program holds it. The wait is shown
  // through `progress` ("Waiting for another Tessary program..."), which is
  // pumped and whose Cancel gives up with 1223; without a progress it waits
  // until the lock is free. Answers 0, 1223, or the system code of a lock file
  // that cannot be opened.
  uint32_t Acquire(ProgressReporter* progress);
  // Takes the lock only if it is free now: 0, 33 when another program holds it,
  // or a system code.
  uint32_t TryAcquire();
  void Release() { lock_.Unlock(); }
  bool IsHeld() const { return lock_.IsLocked(); }

 private:
  platform::DeviceLock lock_;
};

}  // namespace model
