#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DeviceLock.h"
#include "platform/ErrorCodes.h"
#include "tests/support/TempDeviceRoot.h"

using namespace platform;

namespace {

// Another program's hold on the lock file: a lock through an open of its own.
class OtherProgram {
 public:
  explicit OtherProgram(const testsupport::TempDeviceRoot& root)
      : fd_(::open((root.HostRoot() / DeviceLock::kFileName).c_str(), O_RDWR | O_CREAT, 0600)) {}
  ~OtherProgram() { ::close(fd_); }
  bool TryLock() { return ::flock(fd_, LOCK_EX | LOCK_NB) == 0; }
  void Unlock() { ::flock(fd_, LOCK_UN); }

 private:
  int fd_;
};

}  // namespace

TEST(DeviceLock, OneProgramAtATime) {
  testsupport::TempDeviceRoot root;
  OtherProgram other(root);
  ASSERT_TRUE(other.TryLock());
  DeviceLock lock(root.Fs());
  EXPECT_EQ(lock.TryLock(), kErrLockViolation);
  EXPECT_FALSE(lock.IsLocked());
  other.Unlock();
  ASSERT_EQ(lock.TryLock(), kSuccess);
  EXPECT_FALSE(other.TryLock());
  lock.Unlock();
  EXPECT_TRUE(other.TryLock());
  struct stat st {};
  ASSERT_EQ(::stat((root.HostRoot() / DeviceLock::kFileName).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(DeviceLock, HoldersInOneProgramShareTheLockUntilTheLastLetsGo) {
  testsupport::TempDeviceRoot root;
  OtherProgram other(root);
  {
    DeviceLock outer(root.Fs());
    ASSERT_EQ(outer.TryLock(), kSuccess);
    {
      DeviceLock inner(root.Fs());
      EXPECT_EQ(inner.TryLock(), kSuccess);
    }
    EXPECT_FALSE(other.TryLock());
  }
  EXPECT_TRUE(other.TryLock());
}
