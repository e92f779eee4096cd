#include "tests/e2e/FaultProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <utility>

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

void FaultProxy::Arm(const std::string& marker, Action action, size_t amount) {
  std::lock_guard<std::mutex> lock(mutex_);
  rules_[marker] = Rule{action, amount};
}

int FaultProxy::Seen(const std::string& marker) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto rule = rules_.find(marker);
  return rule == rules_.end() ? 0 : rule->second.seen;
}

bool FaultProxy::Match(const std::string& recent, std::string& marker, Rule& rule) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& [text, armed] : rules_) {
    if (recent.find(text) == std::string::npos) continue;
    ++armed.seen;
    marker = text;
    rule = armed;
    return true;
  }
  return false;
}

void FaultProxy::Disarm(const std::string& marker) {
  std::lock_guard<std::mutex> lock(mutex_);
  // A one-shot rule stays counted: its marker is kept with no effect.
  auto rule = rules_.find(marker);
  if (rule != rules_.end()) {
    rule->second.action = Action::Delay;
    rule->second.amount = 0;
  }
  fired_ = true;
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
  std::string recent;  // the tail of the request bytes, to find a marker across reads
  // The rule the request now under way on this connection called for.
  bool armed = false;
  std::string marker;
  Rule rule{Action::Delay, 0};
  size_t answerBytes = 0;
  std::string head;  // the answer's bytes until its header ends
  bool inBody = false;
  bool answerStarted = false;
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
      if (answerStarted) {
        // The next request on a kept connection.
        armed = false;
        answerStarted = false;
      }
      recent.append(buffer, static_cast<size_t>(got));
      // A rule stays armed until it acts: a request that never reached the
      // service (its kept connection had closed) goes out again on a new
      // connection and must be caught there.
      if (Match(recent, marker, rule)) {
        armed = true;
        answerBytes = 0;
        head.clear();
        inBody = false;
        recent.clear();
      }
      if (recent.size() > 256) recent.erase(0, recent.size() - 256);
      if (!SendAll(server, buffer, static_cast<size_t>(got))) break;
    }
    if (fds[1].revents != 0) {
      const ssize_t got = ::recv(server, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      answerStarted = true;
      if (armed && rule.action == Action::Drop) {
        Disarm(marker);
        break;
      }
      if (armed && rule.action == Action::Delay) {
        // Once per answer: its later pieces go straight on.
        const size_t wait = std::exchange(rule.amount, 0);
        for (size_t waited = 0; waited < wait && !stop_; waited += 10) {
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
      }
      if (armed && rule.action == Action::Cut) {
        if (answerBytes + static_cast<size_t>(got) > rule.amount) {
          SendAll(client, buffer, rule.amount - answerBytes);
          Disarm(marker);
          break;
        }
        answerBytes += static_cast<size_t>(got);
      }
      if (armed && rule.action == Action::Garble) {
        for (ssize_t i = 0; i < got; ++i) {
          if (inBody) {
            buffer[i] = 'x';
          } else {
            head.push_back(buffer[i]);
            inBody = head.size() >= 4 && head.compare(head.size() - 4, 4, "\r\n\r\n") == 0;
          }
        }
        if (inBody) Disarm(marker);
      }
      if (!SendAll(client, buffer, static_cast<size_t>(got))) break;
    }
  }
  if (server >= 0) ::close(server);
  ::close(client);
}

}  // namespace e2e
