#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace service {

// Where the photo-blog service is: its host name, its numeric address and its port.
// Deployment settings; the paths and names of the protocol never change.
class ServiceSettings {
 public:
  static constexpr const char* kDefaultHost = "localhost";
  static constexpr const char* kDefaultAddress = "127.0.0.1";
  static constexpr uint16_t kDefaultPort = 8080;

  std::string host = kDefaultHost;
  std::string numericAddress = kDefaultAddress;  // empty when not known
  uint16_t port = kDefaultPort;

  // Takes "HOST" or "HOST:PORT"; false (nothing changed) when malformed. A host
  // that is itself a dotted address is also the numeric address; for any other
  // host the numeric address is not known.
  bool Parse(std::string_view text);
  // Applies TESSARY_SERVICE when it is set; false when it is set but malformed.
  bool ApplyEnvironment();
  // "host" on port 80, else "host:port": the authority part of the service's URLs.
  std::string Authority() const;

  // The settings the program uses; the command line and tests change them.
  static ServiceSettings& Current();
};

}  // namespace service
