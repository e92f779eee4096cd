#include "server/HttpFront.h"

#include <arpa/inet.h>
#include <malloc.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "server/GrowBuffer.h"
#include "server/ListenSocket.h"

namespace server {

namespace {

using namespace std::chrono_literals;

constexpr auto kSweepInterval = 50ms;
constexpr auto kListenerPause = 100ms;
// After a refusal the client gets this long to stop sending before the close.
constexpr auto kDrainTime = 2s;
constexpr size_t kReadChunk = 64 * 1024;
constexpr int kReadsPerEvent = 16;
constexpr int kAcceptsPerEvent = 64;
constexpr size_t kLargeRequest = 1024 * 1024;

// Marks the listening and wake-up descriptors among the epoll events.
char listenerTag;
char wakeTag;

// Assigning an empty string would keep the buffer.
void Free(std::string& text) { std::string().swap(text); }

const char* Reason(int status) {
  switch (status) {
    case 400: return "Bad Request";
    case 408: return "Request Timeout";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 431: return "Request Header Fields Too Large";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    case 505: return "HTTP Version Not Supported";
    default: return "Error";
  }
}

std::string Refusal(int status) {
  return "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) +
         "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
}

void Describe(const sockaddr_storage& addr, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = "";
  if (addr.ss_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(&addr);
    inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
    port = ntohs(v4->sin_port);
  } else if (addr.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&addr);
    inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
    port = ntohs(v6->sin6_port);
  }
  ip = text;
}

BufferedStream::Peer PeerOf(int fd) {
  BufferedStream::Peer peer;
  sockaddr_storage addr{};
  socklen_t length = sizeof addr;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0) Describe(addr, peer.remoteIp, peer.remotePort);
  length = sizeof addr;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0) Describe(addr, peer.localIp, peer.localPort);
  return peer;
}

}  // namespace

HttpFront::HttpFront(RequestServer& server, const HttpLimits& limits, size_t maxBody)
    : server_(server),
      limits_(limits),
      maxBody_(maxBody),
      epollFd_(epoll_create1(EPOLL_CLOEXEC)),
      wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      workers_(wakeFd_) {
  if (epollFd_ >= 0 && wakeFd_ >= 0) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.ptr = &wakeTag;
    epoll_ctl(epollFd_, EPOLL_CTL_ADD, wakeFd_, &event);
  }
}

HttpFront::~HttpFront() {
  Stop();
  workers_.Stop();
  for (auto& [key, connection] : connections_) close(connection->fd);
  if (listenFd_ >= 0) close(listenFd_);
  if (epollFd_ >= 0) close(epollFd_);
  if (wakeFd_ >= 0) close(wakeFd_);
}

bool HttpFront::Listen(const std::string& host, int port, std::string& error) {
  if (epollFd_ < 0 || wakeFd_ < 0) {
    error = "cannot set up the connection loop";
    return false;
  }
  listenFd_ = ListenSocket::Open(host, port, port_, error);
  return listenFd_ >= 0;
}

bool HttpFront::Run() {
  if (listenFd_ < 0) return false;
  WatchListener(true);
  workers_.Start(limits_.workers, [this](FrontConnection& c) { Answer(c); });
  running_ = true;
  std::array<epoll_event, 128> events;
  Clock::time_point lastSweep = Clock::now();
  while (!stopping_) {
    int count = epoll_wait(epollFd_, events.data(), static_cast<int>(events.size()),
                           static_cast<int>(kSweepInterval.count()));
    if (count < 0 && errno != EINTR) break;
    for (int i = 0; i < count; ++i) {
      void* tag = events[i].data.ptr;
      if (tag == &listenerTag) {
        Accept();
      } else if (tag == &wakeTag) {
        uint64_t ignored = 0;
        [[maybe_unused]] ssize_t n = read(wakeFd_, &ignored, sizeof ignored);
        CollectAnswers();
      } else {
        Serve(*static_cast<FrontConnection*>(tag), events[i].events);
      }
    }
    Clock::time_point now = Clock::now();
    if (now - lastSweep >= kSweepInterval) {
      Sweep(now);
      lastSweep = now;
    }
    if (finishing_ && !finishStarted_) BeginFinishing(now);
    closed_.clear();
    if (finishStarted_ && Finished(now)) break;
  }
  // Requests already with a worker are answered before the workers stop; their
  // answers are not sent any more.
  workers_.Stop();
  for (auto& [key, connection] : connections_) close(connection->fd);
  connections_.clear();
  waiting_.clear();
  closed_.clear();
  running_ = false;
  return true;
}

void HttpFront::Stop() {
  stopping_ = true;
  uint64_t one = 1;
  if (wakeFd_ >= 0) [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

void HttpFront::Finish() {
  finishing_ = true;
  uint64_t one = 1;
  if (wakeFd_ >= 0) [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

void HttpFront::BeginFinishing(Clock::time_point now) {
  finishStarted_ = true;
  finishDeadline_ = now + limits_.stopGrace;
  // Closed at once, so that new clients are refused rather than kept waiting.
  WatchListener(false);
  close(listenFd_);
  listenFd_ = -1;
  std::vector<FrontConnection*> idle;
  for (auto& [key, connection] : connections_) {
    if (connection->state == State::kWaiting && !connection->requestStarted) idle.push_back(connection.get());
  }
  for (FrontConnection* c : idle) Close(*c);
}

// A connection is still under way while it has a request begun, queued or
// being answered, or an answer whose client has not closed yet.
bool HttpFront::Finished(Clock::time_point now) const {
  if (now >= finishDeadline_) return true;
  return std::none_of(connections_.begin(), connections_.end(), [](const auto& entry) {
    const FrontConnection& c = *entry.second;
    return c.state != State::kWaiting || c.requestStarted;
  });
}

void HttpFront::Accept() {
  for (int i = 0; i < kAcceptsPerEvent; ++i) {
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EMFILE || errno == ENFILE) {
        if (EvictOldestWaiting()) continue;
        WatchListener(false);
        listenerPausedUntil_ = Clock::now() + kListenerPause;
      }
      return;
    }
    if (connections_.size() >= limits_.maxConnections && !EvictOldestWaiting()) {
      close(fd);
      continue;
    }
    if (waiting_.size() >= limits_.maxWaiting) EvictOldestWaiting();
    int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    auto connection = std::make_unique<FrontConnection>();
    FrontConnection& c = *connection;
    c.fd = fd;
    c.peer = PeerOf(fd);
    c.deadline = Clock::now() + limits_.idleTimeout;
    connections_.emplace(&c, std::move(connection));
    EnterWaiting(c);
    Watch(c, EPOLLIN);
  }
}

void HttpFront::Serve(FrontConnection& c, uint32_t events) {
  if (c.closed) return;
  if (c.state == State::kWriting) {
    Send(c);
  } else if (c.state != State::kQueued && (events & (EPOLLIN | EPOLLHUP | EPOLLERR)) != 0) {
    Receive(c);
  }
}

void HttpFront::Receive(FrontConnection& c) {
  std::array<char, kReadChunk> buffer;
  for (int i = 0; i < kReadsPerEvent; ++i) {
    ssize_t n = recv(c.fd, buffer.data(), buffer.size(), 0);
    if (n > 0) {
      if (c.state == State::kDraining) continue;
      Consume(c, std::string_view(buffer.data(), static_cast<size_t>(n)));
      if (c.closed || (c.state != State::kWaiting && c.state != State::kBody)) return;
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      return;
    } else {
      // The client is gone; a request it had not finished is never handled.
      Close(c);
      return;
    }
  }
}

void HttpFront::Consume(FrontConnection& c, std::string_view data) {
  std::string rest;
  if (c.state == State::kWaiting) {
    if (!ReadHead(c, data, rest)) return;
    data = rest;
  }
  if (c.state == State::kBody) {
    size_t used = 0;
    if (!TakeBody(c, data, used)) return;
    data.remove_prefix(used);
  }
  // The start of the next request waits until this one is answered.
  if (!data.empty() && !c.closed) c.input.append(data);
}

// Collects the head; true once it is complete and the body (if any) has begun,
// with the bytes after the head in rest.
bool HttpFront::ReadHead(FrontConnection& c, std::string_view data, std::string& rest) {
  if (!c.requestStarted) {
    if (data.empty()) return false;
    c.requestStarted = true;
    c.deadline = Clock::now() + limits_.headTimeout;
  }
  // Only what arrived since the last look is searched (a blank line may start
  // two bytes before it), so a head sent byte by byte costs no more than one sent whole.
  size_t from = c.input.size() >= 2 ? c.input.size() - 2 : 0;
  c.input.append(data);
  size_t headLength = 0;
  size_t total = 0;
  if (!RequestHead::FindEnd(std::string_view(c.input).substr(from), headLength, total)) {
    if (c.input.size() > limits_.maxHeadBytes) Refuse(c, 431);
    return false;
  }
  headLength += from;
  total += from;
  if (headLength > limits_.maxHeadBytes) {
    Refuse(c, 431);
    return false;
  }
  if (int status = RequestHead::Parse(std::string_view(c.input).substr(0, headLength), c.head); status != 0) {
    Refuse(c, status);
    return false;
  }
  rest = c.input.substr(total);
  Free(c.input);
  LeaveWaiting(c);
  return StartBody(c);
}

bool HttpFront::StartBody(FrontConnection& c) {
  ++c.requests;
  c.forwardedHead = c.head.Forwarded();
  Free(c.body);
  c.transferStart = c.lastProgress = Clock::now();
  c.transferred = 0;
  switch (c.head.framing) {
    case RequestHead::Framing::kNone:
      Dispatch(c);
      return true;
    case RequestHead::Framing::kLength:
      if (c.head.contentLength > maxBody_) {
        Refuse(c, 413);
        return false;
      }
      c.bodyLeft = c.head.contentLength;
      // Room grows with what arrives, not with what a client announces.
      c.body.reserve(static_cast<size_t>(std::min<uint64_t>(c.bodyLeft, kLargeRequest)));
      break;
    case RequestHead::Framing::kChunked:
      c.chunked = std::make_unique<ChunkedDecoder>(maxBody_);
      break;
  }
  c.state = State::kBody;
  if (c.head.expectContinue && c.head.version == "HTTP/1.1") {
    static constexpr std::string_view kContinue = "HTTP/1.1 100 Continue\r\n\r\n";
    // The send buffer of a connection that has sent nothing back yet has room.
    [[maybe_unused]] ssize_t n = send(c.fd, kContinue.data(), kContinue.size(), MSG_NOSIGNAL);
  }
  return true;
}

bool HttpFront::TakeBody(FrontConnection& c, std::string_view data, size_t& used) {
  size_t before = c.body.size();
  bool complete = false;
  if (c.chunked) {
    switch (c.chunked->Feed(data, c.body, used)) {
      case ChunkedDecoder::Result::kMore: break;
      case ChunkedDecoder::Result::kDone: complete = true; break;
      case ChunkedDecoder::Result::kMalformed: Refuse(c, 400); return false;
      case ChunkedDecoder::Result::kTooLarge: Refuse(c, 413); return false;
    }
  } else {
    used = static_cast<size_t>(std::min<uint64_t>(c.bodyLeft, data.size()));
    GrowBuffer(c.body, c.body.size() + used, static_cast<size_t>(c.head.contentLength));
    c.body.append(data.substr(0, used));
    c.bodyLeft -= used;
    complete = c.bodyLeft == 0;
  }
  size_t added = c.body.size() - before;
  c.heldBody += added;
  heldBodies_ += added;
  c.transferred += used;
  c.lastProgress = Clock::now();
  if (heldBodies_ > limits_.maxHeldBodies) {
    Refuse(c, 503);
    return false;
  }
  if (complete) {
    c.chunked.reset();
    Dispatch(c);
  }
  return true;
}

void HttpFront::Dispatch(FrontConnection& c) {
  c.state = State::kQueued;
  c.closeAfterAnswer = stopping_ || finishing_ || c.requests >= kRequestsPerConnection;
  Watch(c, 0);
  workers_.Submit(&c);
}

// On a worker thread: only the request's own fields are touched.
void HttpFront::Answer(FrontConnection& c) {
  BufferedStream stream(c.forwardedHead, c.output, c.peer);
  bool clientCloses = false;
  bool written = server_.Answer(stream, c.closeAfterAnswer, clientCloses, std::move(c.body));
  Free(c.body);
  if (!written || clientCloses) c.closeAfterAnswer = true;
}

void HttpFront::CollectAnswers() {
  for (FrontConnection* c : workers_.TakeDone()) {
    if (c->heldBody > kLargeRequest || c->output.size() > kLargeRequest) trimPending_ = true;
    ReleaseBody(*c);
    if (c->output.empty()) {
      Close(*c);
    } else {
      StartWriting(*c);
    }
  }
}

void HttpFront::StartWriting(FrontConnection& c) {
  c.state = State::kWriting;
  c.sent = 0;
  c.transferStart = c.lastProgress = Clock::now();
  c.transferred = 0;
  heldAnswers_ += c.output.size();
  Send(c);
  if (!c.closed && c.state == State::kWriting) EnforceAnswerBudget();
}

void HttpFront::Send(FrontConnection& c) {
  while (c.sent < c.output.size()) {
    ssize_t n = send(c.fd, c.output.data() + c.sent, c.output.size() - c.sent, MSG_NOSIGNAL);
    if (n > 0) {
      c.sent += static_cast<size_t>(n);
      c.transferred += static_cast<size_t>(n);
      c.lastProgress = Clock::now();
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      Watch(c, EPOLLOUT);
      return;
    } else {
      Close(c);
      return;
    }
  }
  heldAnswers_ -= c.output.size();
  Free(c.output);
  if (c.closeAfterAnswer || stopping_ || finishing_) {
    StartDraining(c);
  } else {
    AwaitNextRequest(c);
  }
}

void HttpFront::AwaitNextRequest(FrontConnection& c) {
  c.state = State::kWaiting;
  c.requestStarted = false;
  c.deadline = Clock::now() + limits_.idleTimeout;
  if (waiting_.size() >= limits_.maxWaiting) EvictOldestWaiting();
  EnterWaiting(c);
  Watch(c, EPOLLIN);
  if (!c.input.empty()) {
    std::string pipelined;
    pipelined.swap(c.input);
    Consume(c, pipelined);
  }
}

void HttpFront::StartDraining(FrontConnection& c) {
  shutdown(c.fd, SHUT_WR);
  c.state = State::kDraining;
  c.deadline = Clock::now() + kDrainTime;
  Free(c.input);
  Watch(c, EPOLLIN);
}

void HttpFront::Refuse(FrontConnection& c, int status) {
  LeaveWaiting(c);
  ReleaseBody(c);
  c.chunked.reset();
  Free(c.input);
  c.output = Refusal(status);
  c.closeAfterAnswer = true;
  StartWriting(c);
}

void HttpFront::Close(FrontConnection& c) {
  if (c.closed) return;
  c.closed = true;
  Watch(c, 0);
  close(c.fd);
  LeaveWaiting(c);
  ReleaseBody(c);
  if (c.state == State::kWriting) heldAnswers_ -= c.output.size();
  auto found = connections_.find(&c);
  closed_.push_back(std::move(found->second));
  connections_.erase(found);
}

void HttpFront::Sweep(Clock::time_point now) {
  std::vector<FrontConnection*> expired;
  bool busy = false;
  for (auto& [key, connection] : connections_) {
    FrontConnection& c = *connection;
    switch (c.state) {
      case State::kWaiting:
      case State::kDraining:
        if (now >= c.deadline) expired.push_back(&c);
        break;
      case State::kBody:
        if (TooSlow(c, now)) expired.push_back(&c);
        break;
      case State::kWriting:
        if (TooSlow(c, now)) expired.push_back(&c);
        break;
      case State::kQueued:
        busy = true;
        break;
    }
  }
  for (FrontConnection* c : expired) {
    if (c->closed) continue;
    // A request begun and not finished in time is told so; anything else just closes.
    bool tell = (c->state == State::kWaiting && c->requestStarted) || c->state == State::kBody;
    if (tell) {
      Refuse(*c, 408);
    } else {
      Close(*c);
    }
  }
  if (!listening_ && listenFd_ >= 0 && !finishStarted_ && now >= listenerPausedUntil_) WatchListener(true);
  // Only while no worker is busy: trimming locks the allocator's arenas.
  if (trimPending_ && !busy) {
    malloc_trim(0);
    trimPending_ = false;
  }
}

void HttpFront::EnterWaiting(FrontConnection& c) {
  if (!c.waitingEntry) c.waitingEntry = waiting_.insert(waiting_.end(), &c);
}

void HttpFront::LeaveWaiting(FrontConnection& c) {
  if (c.waitingEntry) {
    waiting_.erase(*c.waitingEntry);
    c.waitingEntry.reset();
  }
}

bool HttpFront::EvictOldestWaiting() {
  if (waiting_.empty()) return false;
  Close(*waiting_.front());
  return true;
}

void HttpFront::EnforceAnswerBudget() {
  while (heldAnswers_ > limits_.maxHeldAnswers) {
    FrontConnection* stalest = nullptr;
    for (auto& [key, connection] : connections_) {
      if (connection->state == State::kWriting &&
          (stalest == nullptr || connection->lastProgress < stalest->lastProgress)) {
        stalest = connection.get();
      }
    }
    if (stalest == nullptr) return;
    Close(*stalest);
  }
}

void HttpFront::ReleaseBody(FrontConnection& c) {
  heldBodies_ -= c.heldBody;
  c.heldBody = 0;
  if (c.state != State::kQueued) Free(c.body);
}

// Past the first transferTimeout, a body or answer must have moved at least
// bytesPerSecond for every further second.
bool HttpFront::TooSlow(const FrontConnection& c, Clock::time_point now) const {
  auto late = now - c.transferStart - limits_.transferTimeout;
  if (late <= Clock::duration::zero()) return false;
  double owed = std::chrono::duration<double>(late).count() * static_cast<double>(limits_.bytesPerSecond);
  return static_cast<double>(c.transferred) < owed;
}

void HttpFront::Watch(FrontConnection& c, uint32_t events) {
  if (events == c.watched) return;
  epoll_event event{};
  event.events = events;
  event.data.ptr = &c;
  if (events == 0) {
    // Unwatched rather than watched for nothing: a hang-up would still be reported.
    epoll_ctl(epollFd_, EPOLL_CTL_DEL, c.fd, &event);
  } else {
    epoll_ctl(epollFd_, c.watched == 0 ? EPOLL_CTL_ADD : EPOLL_CTL_MOD, c.fd, &event);
  }
  c.watched = events;
}

void HttpFront::WatchListener(bool on) {
  if (on == listening_) return;
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.ptr = &listenerTag;
  epoll_ctl(epollFd_, on ? EPOLL_CTL_ADD : EPOLL_CTL_DEL, listenFd_, &event);
  listening_ = on;
}

}  // namespace server
