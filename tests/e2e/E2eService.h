#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "server/HttpService.h"
#include "server/Records.h"

namespace e2e {

// A tessary-service in a temporary data folder on 127.0.0.1 (port chosen by the
// system), which the client's service settings point at. It can be stopped and
// started again on the same port and folder; it is stopped and removed at the end.
class E2eService {
 public:
  E2eService();
  ~E2eService();
  E2eService(const E2eService&) = delete;
  E2eService& operator=(const E2eService&) = delete;

  int Port() const { return port_; }
  const std::filesystem::path& DataDir() const { return dir_; }
  void Stop();
  void Start();
  // Starts again handing out addresses on `publicHost` ("127.0.0.1:PORT" of a
  // proxy), so that photo downloads go through it too.
  void Restart(const std::string& publicHost);
  // Points the client at another port (a proxy in front of the service).
  static void UseClientPort(int port);

  // Administration on the data folder; each fails the test when refused.
  void AddUser(const std::string& email, const std::string& password);
  void AddBlog(const std::string& url, const std::string& owner, bool group = false, bool hidden = false,
               const std::string& viewPassword = "");
  void AddMember(const std::string& url, const std::string& email);
  void Publish(const std::string& name, const std::string& content);

  // What the store holds now.
  std::vector<server::EntryRecord> Entries(const std::string& url);
  std::vector<server::CommentRecord> Comments(const std::string& url);

 private:
  std::filesystem::path dir_;
  int port_ = 0;
  std::string publicHost_;
  std::unique_ptr<server::HttpService> service_;
  std::thread thread_;
};

}  // namespace e2e
