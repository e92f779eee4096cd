#pragma once

#include <httplib.h>

#include <string>

namespace server {

// The routes of the service (httplib's router and answer writer) without
// httplib's own connection handling: the front reads each request, then a worker
// hands it here with its body already received.
class RequestServer : public httplib::Server {
 public:
  // Routes one request whose head is read from stream and writes the answer to
  // it. closeAfter asks for "Connection: close"; closed tells whether the client
  // asked to close. False when no answer could be written.
  bool Answer(httplib::Stream& stream, bool closeAfter, bool& closed, std::string body);
};

}  // namespace server
