#include "platform/ErrorCodes.h"

#include <cerrno>

namespace platform {

uint32_t ErrorFromErrno(int err) {
  struct Row {
    int err;
    uint32_t code;
  };
  static constexpr Row kTable[] = {
      {0, kSuccess},
      {ENOENT, kErrFileNotFound},
      {ENOTDIR, kErrPathNotFound},
      {ELOOP, kErrPathNotFound},
      {EMFILE, kErrTooManyOpenFiles},
      {ENFILE, kErrTooManyOpenFiles},
      {EACCES, kErrAccessDenied},
      {EPERM, kErrAccessDenied},
      {EISDIR, kErrAccessDenied},
      {EBADF, kErrInvalidHandle},
      {ENOMEM, kErrNotEnoughMemory},
      {EROFS, kErrWriteProtect},
      {ENOSPC, kErrDiskFull},
      {EFBIG, kErrDiskFull},
#ifdef EDQUOT
      {EDQUOT, kErrHandleDiskFull},
#endif
      {EEXIST, kErrAlreadyExists},
      {EINVAL, kErrInvalidParameter},
      {ENAMETOOLONG, kErrFilenameTooLong},
      {ENOTEMPTY, kErrDirNotEmpty},
      {EBUSY, kErrDriveLocked},
      {ETXTBSY, kErrSharingViolation},
      {EWOULDBLOCK, kErrLockViolation},
      {EPIPE, kErrBrokenPipe},
      {EIO, kErrGenFailure},
      {ENXIO, kErrNotReady},
      {ENODEV, kErrNotReady},
      {ENOTSUP, kErrNotSupported},
      {EXDEV, kErrNotSupported},
      {EOVERFLOW, kErrBufferOverflow},
  };
  for (const Row& row : kTable) {
    if (row.err == err) return row.code;
  }
  return kErrGenFailure;
}

}  // namespace platform
