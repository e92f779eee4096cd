#include "server/BufferedStream.h"

#include <algorithm>
#include <cstring>

namespace server {

ssize_t BufferedStream::read(char* ptr, size_t size) {
  size_t n = std::min(size, input_.size());
  std::memcpy(ptr, input_.data(), n);
  input_.remove_prefix(n);
  return static_cast<ssize_t>(n);
}

ssize_t BufferedStream::write(const char* ptr, size_t size) {
  output_.append(ptr, size);
  return static_cast<ssize_t>(size);
}

void BufferedStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  ip = peer_.remoteIp;
  port = peer_.remotePort;
}

void BufferedStream::get_local_ip_and_port(std::string& ip, int& port) const {
  ip = peer_.localIp;
  port = peer_.localPort;
}

}  // namespace server
