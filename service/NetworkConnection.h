#pragma once

#include <cstdint>

namespace model {
class ProgressReporter;
}

namespace service {

// Brings up the Internet data connection before a network command and gives it
// back afterwards.
class NetworkConnection {
 public:
  enum class Outcome { Connected, Cancelled, Failed };

  // Shows "Connecting to network..." and waits for the connection, animating the
  // progress and watching its Cancel. A failure shows "Tessary was unable to
  // establish a connection (0x%x)." with the failure code (0 when the connection
  // service reported a status rather than an error); a cancel shows nothing.
  static Outcome ConnectNetwork(model::ProgressReporter* progress, uint32_t* failureCode = nullptr);
  // Releases the connection, letting the platform keep it for the next command.
  static void ReleaseNetwork();
};

}  // namespace service
