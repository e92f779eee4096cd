#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "server/BufferedStream.h"
#include "server/ChunkedDecoder.h"
#include "server/RequestHead.h"

namespace server {

// One client connection of the HTTP front. The front's thread owns it, except
// for what a worker fills in while the request is queued.
struct FrontConnection {
  using Clock = std::chrono::steady_clock;

  enum class State {
    kWaiting,   // for or in a request head
    kBody,      // receiving the body
    kQueued,    // complete, with a worker (waiting for one, or being answered)
    kWriting,   // sending the answer
    kDraining,  // answer sent, closing: reading what the client still sends
  };

  int fd = -1;
  State state = State::kWaiting;
  // Events the front's epoll watches for; 0 when not registered.
  uint32_t watched = 0;
  BufferedStream::Peer peer;
  // Bytes received and not yet used: a head being received, or the start of the
  // next request.
  std::string input;
  bool requestStarted = false;
  Clock::time_point deadline;
  std::optional<std::list<FrontConnection*>::iterator> waitingEntry;
  size_t requests = 0;

  RequestHead head;
  std::string forwardedHead;
  std::string body;
  uint64_t bodyLeft = 0;
  std::unique_ptr<ChunkedDecoder> chunked;
  // Body bytes counted against the front's budget.
  size_t heldBody = 0;

  // Progress of a body or an answer, for the minimum-rate rule.
  Clock::time_point transferStart;
  size_t transferred = 0;
  Clock::time_point lastProgress;

  std::string output;
  size_t sent = 0;
  bool closeAfterAnswer = false;
  bool closed = false;
};

}  // namespace server
