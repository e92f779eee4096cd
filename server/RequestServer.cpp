#include "server/RequestServer.h"

namespace server {

bool RequestServer::Answer(httplib::Stream& stream, bool closeAfter, bool& closed, std::string body) {
  // The head handed on has no Content-Length, so httplib reads no body of its
  // own and keeps this one.
  return process_request(stream, closeAfter, closed, [&body](httplib::Request& req) { req.body = std::move(body); });
}

}  // namespace server
