#include "tests/e2e/FaultProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace e2e {

namespace {

int ConnectTo(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

}  // namespace

FaultProxy::FaultProxy(int targetPort) : target_(targetPort) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listener_, 16);
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { Accept(); });
}

FaultProxy::~FaultProxy() {
  stop_ = true;
  ::shutdown(listener_, SHUT_RDWR);
  ::close(listener_);
  acceptor_.join();
  for (std::thread& relay : relays_) relay.join();
}

void FaultProxy::DropAnswerTo(const std::string& marker) {
  std::lock_guard<std::mutex> lock(mutex_);
  dropMarker_ = marker;
}

void FaultProxy::Accept() {
  while (!stop_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 50) <= 0) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    relays_.emplace_back([this, client] { Relay(client); });
  }
}

void FaultProxy::Relay(int client) {
  const int server = ConnectTo(target_);
  size_t requestBytes = 0;
  bool dropAnswer = false;
  std::string recent;  // the tail of the request bytes, to find the marker across reads
  char buffer[16384];
  while (server >= 0 && !stop_) {
    pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    if (::poll(fds, 2, 50) <= 0) continue;
    if (fds[0].revents != 0) {
      const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      requestBytes += static_cast<size_t>(got);
      const size_t cut = cutAfter_;
      if (cut != 0 && requestBytes > cut && !fired_.exchange(true)) {
        cutAfter_ = 0;
        const size_t keep = static_cast<size_t>(got) - (requestBytes - cut);
        SendAll(server, buffer, keep);
        break;
      }
      recent.append(buffer, static_cast<size_t>(got));
      {
        std::lock_guard<std::mutex> lock(mutex_);
        // The marker stays armed until an answer is dropped: a request that
        // never reached the service (its kept connection had closed) goes out
        // again on a new connection and must be caught there.
        if (!dropMarker_.empty() && recent.find(dropMarker_) != std::string::npos) dropAnswer = true;
      }
      if (recent.size() > 256) recent.erase(0, recent.size() - 256);
      if (!SendAll(server, buffer, static_cast<size_t>(got))) break;
    }
    if (fds[1].revents != 0) {
      const ssize_t got = ::recv(server, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      if (dropAnswer) {
        std::lock_guard<std::mutex> lock(mutex_);
        dropMarker_.clear();
        fired_ = true;
        break;
      }
      if (!SendAll(client, buffer, static_cast<size_t>(got))) break;
    }
  }
  if (server >= 0) ::close(server);
  ::close(client);
}

}  // namespace e2e
