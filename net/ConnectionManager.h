#pragma once

#include <cstdint>
#include <deque>
#include <utility>

namespace net {

// The data-connection service of the phone: a connection to the Internet is
// requested, watched through an event and a status, and released. On Linux the
// network is simply there, so this stand-in connects at once; tests script it to
// fail, to wait, or to be cancelled.
class ConnectionManager {
 public:
  static constexpr uint32_t kStatusConnected = 0x10;
  static constexpr uint32_t kStatusFailedBit = 0x20;
  static constexpr uint32_t kStatusFailed = 0x21;
  static constexpr uint32_t kStatusCancelled = 0x22;
  static constexpr uint32_t kStatusWaitingBit = 0x40;
  static constexpr uint32_t kStatusWaitingForPath = 0x41;

  enum class WaitResult { Signalled, TimedOut, Failed };

  // Script of the stand-in. `requestResult` (negative: failure) answers the
  // request; each wait takes the next status of `statuses` (signalled) or, when
  // the status is 0, times out; `waitFails` makes the wait itself fail.
  struct Script {
    int32_t requestResult = 0;
    std::deque<uint32_t> statuses{kStatusConnected};
    bool waitFails = false;
    int32_t statusQueryResult = 0;
  };

  static ConnectionManager& Current();

  void SetScript(Script script) { script_ = std::move(script); }
  // Back to connecting at once.
  void Reset() { script_ = Script{}; }

  // Asks for a connection to the Internet; negative on failure.
  int32_t RequestConnection();
  // Waits up to `milliseconds` for the connection's event.
  WaitResult Wait(uint32_t milliseconds);
  // The connection's status; negative on failure.
  int32_t QueryStatus(uint32_t& status);
  // Gives the connection back; with `cache` the platform may keep it up.
  void Release(bool cache);

  bool IsHeld() const { return held_; }
  int ReleaseCount() const { return releases_; }

 private:
  Script script_;
  uint32_t signalled_ = 0;
  bool held_ = false;
  int releases_ = 0;
};

}  // namespace net
