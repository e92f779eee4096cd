#pragma once

#include <string>

namespace server {

// Opens the service's listening socket: non-blocking, reusable address, a deep
// backlog so that clients arriving together are not turned away.
class ListenSocket {
 public:
  // The descriptor, or -1 with a reason in error. Port 0 lets the system pick;
  // the port bound is answered in boundPort.
  static int Open(const std::string& host, int port, int& boundPort, std::string& error);
};

}  // namespace server
