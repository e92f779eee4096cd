#include "platform/FileStamp.h"

#include <sys/stat.h>

namespace platform {

namespace {

FileStamp FromStat(const struct stat& st) {
  FileStamp s;
  s.exists = true;
  s.regular = S_ISREG(st.st_mode);
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.mtimeSec = st.st_mtim.tv_sec;
  s.mtimeNsec = st.st_mtim.tv_nsec;
  s.size = st.st_size;
  return s;
}

}  // namespace

FileStamp FileStamp::OfHostPath(const std::filesystem::path& host) {
  struct stat st {};
  return ::stat(host.c_str(), &st) == 0 ? FromStat(st) : FileStamp{};
}

FileStamp FileStamp::OfDescriptor(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? FromStat(st) : FileStamp{};
}

}  // namespace platform
