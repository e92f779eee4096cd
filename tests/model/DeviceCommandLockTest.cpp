#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "model/DeviceCommandLock.h"
#include "platform/DeviceLock.h"
#include "platform/ErrorCodes.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/TempDeviceRoot.h"

namespace {

// Another program holding the device root's lock.
class OtherProgram {
 public:
  explicit OtherProgram(const testsupport::TempDeviceRoot& root)
      : fd_(::open((root.HostRoot() / platform::DeviceLock::kFileName).c_str(), O_RDWR | O_CREAT, 0600)) {
    ::flock(fd_, LOCK_EX);
  }
  ~OtherProgram() { ::close(fd_); }

 private:
  int fd_;
};

TEST(DeviceCommandLock, AWaitSaysSoAndCanBeCancelled) {
  testsupport::TempDeviceRoot root;
  OtherProgram other(root);
  model::DeviceCommandLock lock;
  EXPECT_EQ(lock.TryAcquire(), platform::kErrLockViolation);
  testsupport::RecordingProgress progress(3);
  EXPECT_EQ(lock.Acquire(&progress), platform::kErrCancelled);
  EXPECT_EQ(progress.texts, std::vector<std::string>{"Waiting for another Tessary program..."});
  EXPECT_EQ(progress.pumps, 3);
  EXPECT_FALSE(lock.IsHeld());
}

TEST(DeviceCommandLock, TakesTheLockOnceTheOtherProgramLetsGo) {
  testsupport::TempDeviceRoot root;
  auto other = std::make_unique<OtherProgram>(root);
  std::thread release([&other] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    other.reset();
  });
  model::DeviceCommandLock lock;
  testsupport::RecordingProgress progress;
  EXPECT_EQ(lock.Acquire(&progress), 0u);
  release.join();
  EXPECT_TRUE(lock.IsHeld());
  EXPECT_GT(progress.pumps, 0);
  // Free at once: no word of waiting.
  model::DeviceCommandLock again;
  testsupport::RecordingProgress quiet;
  lock.Release();
  EXPECT_EQ(again.Acquire(&quiet), 0u);
  EXPECT_TRUE(quiet.texts.empty());
}

}  // namespace
