#include "model/DeviceCommandLock.h"

#include <chrono>
#include <thread>

#include "model/ProgressReporter.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace model {

namespace {

// How often a waiting program looks again, and pumps its progress meanwhile.
constexpr std::chrono::milliseconds kPoll{50};

}  // namespace

DeviceCommandLock::DeviceCommandLock() : lock_(platform::DeviceFileSystem::Current()) {}

uint32_t DeviceCommandLock::TryAcquire() { return lock_.TryLock(); }

uint32_t DeviceCommandLock::Acquire(ProgressReporter* progress) {
  uint32_t rc = lock_.TryLock();
  if (rc != platform::kErrLockViolation) return rc;
  if (progress != nullptr) progress->SetText(platform::LoadString(platform::strings::kWaitingForOtherProgram));
  while ((rc = lock_.TryLock()) == platform::kErrLockViolation) {
    if (progress != nullptr) {
      progress->Pump();
      if (progress->IsCancelled()) return platform::kErrCancelled;
    }
    std::this_thread::sleep_for(kPoll);
  }
  return rc;
}

}  // namespace model
