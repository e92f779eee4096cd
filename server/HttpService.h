#pragma once

#include <memory>
#include <string>

#include "server/ServiceConfig.h"

namespace server {

class AccessLog;
class BlogPages;
class Database;
class HttpFront;
class PhotoResizer;
class PhotoStore;
class RequestServer;
class SoapService;
class UrlBuilder;

// The running service: HTTP on the listen address, SOAP on "/ws/", photos, the
// resizer, the two published files and the blog pages.
class HttpService {
 public:
  explicit HttpService(ServiceConfig config);
  ~HttpService();
  HttpService(const HttpService&) = delete;
  HttpService& operator=(const HttpService&) = delete;

  // Opens the store under the data folder and binds host:port (port 0: one the
  // system picks). Without a public host the bound address becomes it. False
  // with a reason in error.
  bool Start(const std::string& host, int port, std::string& error);
  int Port() const { return port_; }
  const ServiceConfig& Config() const { return config_; }
  // Serves until Stop(); answers false when serving could not start.
  bool Run();
  // Waits (up to a few seconds) until Run() accepts connections.
  bool WaitUntilRunning() const;
  // Stops at once: requests under way are dropped.
  void Stop();
  // Stops taking connections; Run() returns once the requests under way are
  // answered (within HttpLimits::stopGrace). Safe in a signal handler.
  void Finish();

 private:
  void Route();
  // The store answers a query and the photo folder is there.
  bool Healthy();

  ServiceConfig config_;
  int port_ = 0;
  std::unique_ptr<Database> db_;
  std::unique_ptr<PhotoStore> photos_;
  std::unique_ptr<PhotoResizer> resizer_;
  std::unique_ptr<UrlBuilder> urls_;
  std::unique_ptr<SoapService> soap_;
  std::unique_ptr<BlogPages> pages_;
  std::unique_ptr<RequestServer> http_;
  std::unique_ptr<HttpFront> front_;
  std::unique_ptr<AccessLog> accessLog_;
};

}  // namespace server
