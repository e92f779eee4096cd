#include <gtest/gtest.h>

#include <cerrno>

#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "tests/support/TempDeviceRoot.h"

using namespace platform;

TEST(ErrorCodes, ErrnoValuesTakeThePhoneNumbers) {
  const std::pair<int, uint32_t> rows[] = {
      {0, 0},       {ENOENT, 2},   {ENOTDIR, 3},     {EMFILE, 4},        {EACCES, 5},     {EPERM, 5},
      {EBADF, 6},   {ENOMEM, 8},   {EROFS, 19},      {ENOSPC, 112},      {EDQUOT, 39},    {EEXIST, 183},
      {EINVAL, 87}, {EBUSY, 108},  {EPIPE, 109},     {ENAMETOOLONG, 206}, {ENOTEMPTY, 145}, {EIO, 31},
  };
  for (auto [err, code] : rows) EXPECT_EQ(ErrorFromErrno(err), code) << err;
  // Anything the table does not know is a general failure, never success.
  EXPECT_EQ(ErrorFromErrno(EPROTO), kErrGenFailure);
}

TEST(ErrorCodes, HostFailuresArriveTranslated) {
  testsupport::TempDeviceRoot root;
  std::unique_ptr<File> file;
  ASSERT_EQ(root.Fs().OpenFile("\\Temp\\f", OpenMode::CreateAlways, file), kSuccess);
  // A file in the way of a folder path: the host says ENOTDIR.
  EXPECT_EQ(root.Fs().OpenFile("\\Temp\\f\\g", OpenMode::CreateAlways, file), kErrPathNotFound);
  // Short enough for the phone, too long for the host once in UTF-8: ENAMETOOLONG.
  std::string name;
  for (int i = 0; i < 200; ++i) name += "\xC3\xA9";
  EXPECT_EQ(root.Fs().CreateFolder("\\Temp\\" + name), kErrFilenameTooLong);
}
