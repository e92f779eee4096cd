#pragma once

#include <httplib.h>

#include <string>
#include <string_view>

namespace server {

// What the request handlers read and write: a request head the front has
// already received, and an answer collected for the front to send.
class BufferedStream : public httplib::Stream {
 public:
  struct Peer {
    std::string remoteIp;
    int remotePort = 0;
    std::string localIp;
    int localPort = 0;
  };

  BufferedStream(std::string_view input, std::string& output, const Peer& peer)
      : input_(input), output_(output), peer_(peer) {}

  bool is_readable() const override { return !input_.empty(); }
  bool is_writable() const override { return true; }
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  // No socket: nothing may bypass the front.
  socket_t socket() const override { return INVALID_SOCKET; }

 private:
  std::string_view input_;
  std::string& output_;
  const Peer& peer_;
};

}  // namespace server
