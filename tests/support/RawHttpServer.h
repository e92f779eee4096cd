#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// A scripted HTTP server on 127.0.0.1 (a port the system chooses) that records
// every request byte for byte and answers with canned bytes, one reply per
// connection, in the order they were queued.
class RawHttpServer {
 public:
  struct Reply {
    std::string bytes;     // sent as they are, then the connection is closed
    bool silent = false;   // read the request, then say nothing until the server stops
    // Keep the connection after the answer, then read the head of the next
    // request on it and drop the connection hard (a kept connection the server
    // closes while the client is sending).
    bool dropNext = false;
  };

  RawHttpServer();
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  uint16_t Port() const { return port_; }
  void Enqueue(Reply reply);
  // A complete "HTTP/1.1 200 OK" answer with Content-Length.
  void EnqueueOk(const std::string& body, const std::string& contentType = "text/xml; charset=utf-8");
  void EnqueueRaw(const std::string& bytes) { Enqueue(Reply{bytes, false}); }
  void EnqueueSilent() { Enqueue(Reply{std::string(), true}); }

  // Every request received so far, raw (request line, headers, body).
  std::vector<std::string> Requests();
  // Waits (up to a few seconds) until `count` requests have arrived.
  bool WaitForRequests(size_t count);
  // The body of a raw request (after the empty line).
  static std::string BodyOf(const std::string& request);

  // A loopback port on which nothing listens.
  static uint16_t UnusedPort();

 private:
  void Run();
  void Serve(int client);
  bool ReadRequest(int client, std::string& request);

  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Reply> replies_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace testsupport
