#include "service/NetworkConnection.h"

#include <gtest/gtest.h>

#include "net/ConnectionManager.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/ScriptedUserInterface.h"

namespace {

using Manager = net::ConnectionManager;
using Outcome = service::NetworkConnection::Outcome;

class NetworkConnectionTest : public ::testing::Test {
 protected:
  ~NetworkConnectionTest() override { Manager::Current().Reset(); }

  Outcome Connect(Manager::Script script, uint32_t* code = nullptr) {
    Manager::Current().SetScript(std::move(script));
    return service::NetworkConnection::ConnectNetwork(&progress_, code);
  }

  testsupport::ScriptedUserInterface ui_;
  testsupport::RecordingProgress progress_;
};

TEST_F(NetworkConnectionTest, ConnectsAtOnceAndReleases) {
  EXPECT_EQ(Connect(Manager::Script{}), Outcome::Connected);
  EXPECT_EQ(progress_.texts, std::vector<std::string>{"Connecting to network..."});
  EXPECT_TRUE(Manager::Current().IsHeld());
  const int released = Manager::Current().ReleaseCount();
  service::NetworkConnection::ReleaseNetwork();
  EXPECT_FALSE(Manager::Current().IsHeld());
  EXPECT_EQ(Manager::Current().ReleaseCount(), released + 1);
}

TEST_F(NetworkConnectionTest, WaitsThroughWaitingStatusesAndTimeouts) {
  Manager::Script script;
  script.statuses = {0, Manager::kStatusWaitingForPath, 0, Manager::kStatusConnected};
  EXPECT_EQ(Connect(script), Outcome::Connected);
  EXPECT_EQ(progress_.pumps, 4);
}

TEST_F(NetworkConnectionTest, FailuresShowTheirCodeOnce) {
  Manager::Script refused;
  refused.requestResult = static_cast<int32_t>(0x80004005u);
  ui_.ExpectMessage("Tessary was unable to establish a connection (0x80004005).", model::MessageIcon::Error);
  uint32_t code = 0;
  EXPECT_EQ(Connect(refused, &code), Outcome::Failed);
  EXPECT_EQ(code, 0x80004005u);

  Manager::Script failed;
  failed.statuses = {Manager::kStatusWaitingForPath, Manager::kStatusFailed};
  ui_.ExpectMessage("Tessary was unable to establish a connection (0x0).", model::MessageIcon::Error);
  EXPECT_EQ(Connect(failed, &code), Outcome::Failed);
  EXPECT_EQ(code, 0u);

  Manager::Script otherFailure;
  otherFailure.statuses = {0x24};
  ui_.ExpectMessage("Tessary was unable to establish a connection (0x0).", model::MessageIcon::Error);
  EXPECT_EQ(Connect(otherFailure), Outcome::Failed);

  Manager::Script brokenQuery;
  brokenQuery.statusQueryResult = -5;
  ui_.ExpectMessage("Tessary was unable to establish a connection (0xfffffffb).", model::MessageIcon::Error);
  EXPECT_EQ(Connect(brokenQuery), Outcome::Failed);

  Manager::Script brokenWait;
  brokenWait.waitFails = true;
  ui_.ExpectMessage("Tessary was unable to establish a connection (0x0).", model::MessageIcon::Error);
  EXPECT_EQ(Connect(brokenWait), Outcome::Failed);
  EXPECT_FALSE(Manager::Current().IsHeld());
  EXPECT_TRUE(ui_.Done());
}

TEST_F(NetworkConnectionTest, CancelShowsNothing) {
  Manager::Script cancelled;
  cancelled.statuses = {Manager::kStatusCancelled};
  EXPECT_EQ(Connect(cancelled), Outcome::Cancelled);

  Manager::Script slow;
  slow.statuses = {0};
  testsupport::RecordingProgress impatient(3);
  Manager::Current().SetScript(slow);
  EXPECT_EQ(service::NetworkConnection::ConnectNetwork(&impatient), Outcome::Cancelled);
  EXPECT_EQ(impatient.pumps, 3);
  EXPECT_FALSE(Manager::Current().IsHeld());
  EXPECT_TRUE(ui_.Prompts().empty());
}

}  // namespace
