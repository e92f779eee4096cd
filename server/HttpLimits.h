#pragma once

#include <chrono>
#include <cstddef>

namespace server {

// What one client may take of the HTTP front: time to send a request, time to
// read an answer, and how many connections may wait. Requests that break a
// limit are dropped without disturbing anyone else's.
struct HttpLimits {
  // Waiting for the first byte of a connection's next request.
  std::chrono::milliseconds idleTimeout{5'000};
  // The request line and headers, counted from the request's first byte.
  std::chrono::milliseconds headTimeout{10'000};
  // A body or an answer gets this much time plus one second per `bytesPerSecond`
  // of its size (a 64 MB body: about 17 minutes).
  std::chrono::milliseconds transferTimeout{30'000};
  size_t bytesPerSecond = 64 * 1024;
  // Request line and headers together.
  size_t maxHeadBytes = 16 * 1024;
  // Connections waiting for or sending a request head; when a new connection
  // would pass this, the one that has waited longest is closed.
  size_t maxWaiting = 256;
  // Every open connection; beyond it new connections are closed at once.
  size_t maxConnections = 1000;
  // Bytes of request bodies held at once (being received or waiting for a
  // worker); a body that would pass it is answered 503.
  size_t maxHeldBodies = 256u * 1024 * 1024;
  // Bytes of answers being sent at once; past it the connections whose
  // clients have read nothing for longest are closed.
  size_t maxHeldAnswers = 256u * 1024 * 1024;
  // Threads answering complete requests.
  int workers = 16;
  // After a graceful stop, the requests under way get this long to be
  // received, answered and sent; what is left then is dropped.
  std::chrono::milliseconds stopGrace{30'000};
};

}  // namespace server
