#pragma once

#include <cstdint>

// The program's single result-code space uses the phone platform's numbers, so
// that codes from files, memory, the network and the service can be compared
// and turned into messages by one table.
namespace platform {

inline constexpr uint32_t kSuccess = 0;
inline constexpr uint32_t kErrFileNotFound = 2;
inline constexpr uint32_t kErrPathNotFound = 3;
inline constexpr uint32_t kErrTooManyOpenFiles = 4;
inline constexpr uint32_t kErrAccessDenied = 5;
inline constexpr uint32_t kErrInvalidHandle = 6;
inline constexpr uint32_t kErrNotEnoughMemory = 8;
inline constexpr uint32_t kErrInvalidData = 13;
inline constexpr uint32_t kErrOutOfMemory = 14;
inline constexpr uint32_t kErrWriteProtect = 19;
inline constexpr uint32_t kErrNotReady = 21;
inline constexpr uint32_t kErrCrc = 23;  // data error: what was read back differs
inline constexpr uint32_t kErrReadFault = 30;
inline constexpr uint32_t kErrGenFailure = 31;
inline constexpr uint32_t kErrSharingViolation = 32;
inline constexpr uint32_t kErrLockViolation = 33;
inline constexpr uint32_t kErrHandleEof = 38;
inline constexpr uint32_t kErrHandleDiskFull = 39;
inline constexpr uint32_t kErrNotSupported = 50;
inline constexpr uint32_t kErrFileExists = 80;
inline constexpr uint32_t kErrInvalidParameter = 87;
inline constexpr uint32_t kErrDriveLocked = 108;
inline constexpr uint32_t kErrBrokenPipe = 109;
inline constexpr uint32_t kErrBufferOverflow = 111;
inline constexpr uint32_t kErrDiskFull = 112;
inline constexpr uint32_t kErrInvalidName = 123;
inline constexpr uint32_t kErrDirNotEmpty = 145;
inline constexpr uint32_t kErrBadPathName = 161;
inline constexpr uint32_t kErrAlreadyExists = 183;
inline constexpr uint32_t kErrFilenameTooLong = 206;
inline constexpr uint32_t kErrMoreData = 234;
inline constexpr uint32_t kErrNoMoreItems = 259;
inline constexpr uint32_t kErrCancelled = 1223;

// Translates a C library errno value into the platform number above.
uint32_t ErrorFromErrno(int err);

}  // namespace platform
