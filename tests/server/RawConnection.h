#pragma once

#include <chrono>
#include <string>

namespace servertest {

// A plain TCP connection to the service on 127.0.0.1, for requests that
// ordinary clients would not send: cut, slow or oddly framed.
class RawConnection {
 public:
  explicit RawConnection(int port);
  ~RawConnection();
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool Connected() const { return fd_ >= 0; }
  // False when the service has closed the connection.
  bool Send(const std::string& bytes);
  // Everything the service sends until it closes the connection or the time is up.
  std::string ReadUntilClosed(std::chrono::milliseconds limit);
  // True when the service closed the connection within the time.
  bool ClosedWithin(std::chrono::milliseconds limit);

 private:
  int fd_ = -1;
  bool closed_ = false;
};

}  // namespace servertest
