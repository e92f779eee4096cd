#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "net/Http.h"

namespace net {

// libcurl stands in for the phone's HTTP library here: each request goes out with the
// request text this client builds, through libcurl handles kept per cached connection.
class Win32Http : public Http {
 public:
  static constexpr int kConnectionSlots = 5;
  static constexpr uint32_t kPieceSize = 2048;
  // libcurl's upload buffer: the body is read into it in one go and sent from it in
  // large writes, while the progress callback is still asked every kPieceSize bytes.
  static constexpr long kUploadBufferSize = 512 * 1024;
  static constexpr long kConnectTimeoutSeconds = 30;
  static constexpr long kStallTimeoutSeconds = 60;
  // Longest wait for the network between two asks of the progress callback.
  static constexpr int kAskIntervalMs = 50;

  Win32Http() = default;
  ~Win32Http() override;

  std::unique_ptr<HttpResponse> Send(HttpRequest& request) override;
  std::unique_ptr<Stream> MakeUserAgentHeader() override;
  bool Open() override;
  void Close() override;

  // Shorter time-outs for tests of a silent or slow server.
  void SetTimeouts(long connectSeconds, long stallSeconds) {
    connectTimeout_ = connectSeconds;
    stallTimeout_ = stallSeconds;
  }
  // The host and port cached in a connection slot; false when the slot is free.
  bool CachedConnection(int slot, std::string& host, uint16_t& port) const;

 private:
  struct Connection {
    std::string host;
    uint16_t port = 0;
    void* handle = nullptr;  // libcurl easy handle
    void* multi = nullptr;   // libcurl multi handle: the slot's open connection lives here
  };

  // The cached connection for (host, port), made when missing; null when out of memory.
  Connection* GetConnection(const std::string& host, uint16_t port);
  static void CloseConnection(Connection& connection);
  uint32_t Transfer(HttpRequest& request, HttpResponse& response);

  std::array<Connection, kConnectionSlots> cache_;
  void* session_ = nullptr;  // libcurl share handle (the session)
  long connectTimeout_ = kConnectTimeoutSeconds;
  long stallTimeout_ = kStallTimeoutSeconds;
};

}  // namespace net
