#include "tests/support/RawHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace testsupport {

namespace {

constexpr int kPollMs = 20;

int Listen(uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ::close(fd);
    return -1;
  }
  port = ntohs(addr.sin_port);
  return fd;
}

size_t ContentLength(const std::string& head) {
  std::string lower = head;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return std::strtoul(head.c_str() + at + 17, nullptr, 10);
}

}  // namespace

RawHttpServer::RawHttpServer() {
  listener_ = Listen(port_);
  if (listener_ >= 0) thread_ = std::thread([this] { Run(); });
}

RawHttpServer::~RawHttpServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) ::close(listener_);
}

uint16_t RawHttpServer::UnusedPort() {
  uint16_t port = 0;
  const int fd = Listen(port);
  if (fd >= 0) ::close(fd);
  return port;
}

void RawHttpServer::Enqueue(Reply reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  replies_.push_back(std::move(reply));
}

void RawHttpServer::EnqueueOk(const std::string& body, const std::string& contentType) {
  EnqueueRaw("HTTP/1.1 200 OK\r\nContent-Type: " + contentType +
             "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
             body);
}

std::vector<std::string> RawHttpServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

bool RawHttpServer::WaitForRequests(size_t count) {
  std::unique_lock<std::mutex> lock(mutex_);
  return arrived_.wait_for(lock, std::chrono::seconds(5), [&] { return requests_.size() >= count; });
}

std::string RawHttpServer::BodyOf(const std::string& request) {
  const size_t end = request.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : request.substr(end + 4);
}

void RawHttpServer::Run() {
  while (!stop_) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, kPollMs) <= 0) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    Serve(client);
    ::close(client);
  }
}

bool RawHttpServer::ReadRequest(int client, std::string& request) {
  size_t wanted = std::string::npos;
  char buffer[4096];
  while (!stop_) {
    const size_t headEnd = request.find("\r\n\r\n");
    if (headEnd != std::string::npos) {
      if (wanted == std::string::npos) wanted = headEnd + 4 + ContentLength(request.substr(0, headEnd + 2));
      if (request.size() >= wanted) return true;
    }
    pollfd p{client, POLLIN, 0};
    if (::poll(&p, 1, kPollMs) <= 0) continue;
    const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    request.append(buffer, static_cast<size_t>(got));
  }
  return false;
}

void RawHttpServer::Serve(int client) {
  Reply reply;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!replies_.empty()) {
      reply = std::move(replies_.front());
      replies_.pop_front();
    } else {
      reply.bytes = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    }
  }
  std::string request;
  const bool complete = ReadRequest(client, request);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
  }
  arrived_.notify_all();
  if (!complete) return;
  if (reply.silent) {
    char buffer[256];
    while (!stop_) {
      pollfd p{client, POLLIN, 0};
      if (::poll(&p, 1, kPollMs) > 0 && ::recv(client, buffer, sizeof buffer, 0) <= 0) return;
    }
    return;
  }
  size_t sent = 0;
  while (sent < reply.bytes.size()) {
    const ssize_t n = ::send(client, reply.bytes.data() + sent, reply.bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
  if (reply.dropNext) {
    std::string next;
    char buffer[4096];
    while (!stop_ && next.find("\r\n\r\n") == std::string::npos) {
      pollfd p{client, POLLIN, 0};
      if (::poll(&p, 1, kPollMs) <= 0) continue;
      const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      next.append(buffer, static_cast<size_t>(got));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(next);
    }
    arrived_.notify_all();
    // Unread bytes and a zero linger make the close a reset.
    const linger hard{1, 0};
    ::setsockopt(client, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    return;
  }
  ::shutdown(client, SHUT_WR);
  // Let the client read everything before the socket goes away.
  char buffer[256];
  for (int i = 0; i < 50 && !stop_; ++i) {
    pollfd p{client, POLLIN, 0};
    if (::poll(&p, 1, kPollMs) > 0 && ::recv(client, buffer, sizeof buffer, 0) <= 0) return;
  }
}

}  // namespace testsupport
