#include "service/NetworkConnection.h"

#include <cstdio>

#include "model/ProgressReporter.h"
#include "model/UserInterface.h"
#include "net/ConnectionManager.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace service {

namespace {

constexpr uint32_t kWaitMilliseconds = 200;

void ShowFailure(uint32_t code) {
  const std::string& format = platform::LoadString(platform::strings::kCannotConnect);
  const size_t at = format.find("%x");
  char hex[16];
  std::snprintf(hex, sizeof hex, "%x", code);
  const std::string text =
      at == std::string::npos ? format : format.substr(0, at) + hex + format.substr(at + 2);
  model::UserInterface::Current().ShowMessage(text, model::MessageIcon::Error);
}

}  // namespace

NetworkConnection::Outcome NetworkConnection::ConnectNetwork(model::ProgressReporter* progress,
                                                             uint32_t* failureCode) {
  using Manager = net::ConnectionManager;
  Manager& manager = Manager::Current();
  if (progress != nullptr) progress->SetText(platform::LoadString(platform::strings::kConnecting));

  uint32_t code = 0;
  Outcome outcome = Outcome::Failed;
  const int32_t requested = manager.RequestConnection();
  if (requested < 0) {
    code = static_cast<uint32_t>(requested);
  } else {
    bool running = true;
    while (running) {
      if (progress != nullptr) progress->Pump();
      const Manager::WaitResult wait = manager.Wait(kWaitMilliseconds);
      if (wait == Manager::WaitResult::Failed) break;
      if (wait == Manager::WaitResult::Signalled) {
        uint32_t status = 0;
        const int32_t queried = manager.QueryStatus(status);
        if (queried < 0) {
          code = static_cast<uint32_t>(queried);
          break;
        }
        if (status == Manager::kStatusConnected) {
          outcome = Outcome::Connected;
          running = false;
        } else if ((status & Manager::kStatusWaitingBit) != 0) {
          // Still coming up.
        } else if (status == Manager::kStatusCancelled) {
          outcome = Outcome::Cancelled;
          running = false;
        } else if ((status & Manager::kStatusFailedBit) != 0) {
          running = false;
        }
      }
      if (running && progress != nullptr && progress->IsCancelled()) {
        outcome = Outcome::Cancelled;
        running = false;
      }
    }
  }
  if (failureCode != nullptr) *failureCode = code;
  if (outcome != Outcome::Connected) manager.Release(false);
  if (outcome == Outcome::Failed) ShowFailure(code);
  return outcome;
}

void NetworkConnection::ReleaseNetwork() { net::ConnectionManager::Current().Release(true); }

}  // namespace service
