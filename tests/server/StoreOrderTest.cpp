// A change list never misses a store of the same account that the service had
// already received when the change list was asked for.
#include "tests/server/ServiceTest.h"

#include <future>
#include <latch>
#include <thread>

#include "server/StoreOrder.h"

namespace servertest {
namespace {

class StoreOrderTest : public ServiceTest {
 protected:
  void Configure(server::ServiceConfig& config) override {
    config.holdUpload = [this] {
      held.count_down();
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    };
  }
  std::latch held{1};
};

TEST_F(StoreOrderTest, ChangeListWaitsForAnUploadReceivedBeforeIt) {
  std::string added;
  std::thread upload([&] { added = AddEntry(*owner, "mine", "held"); });
  held.wait();
  // The upload is received and held before its commit; a restarted client asks
  // for the changes on another connection.
  std::string xml = FullChanges(*owner, "mine");
  upload.join();
  ASSERT_FALSE(added.empty());
  EXPECT_EQ(AllTexts(xml, "ID"), std::vector<std::string>{added});
}

std::future<void> ChangeList(server::StoreOrder& order, const std::string& account) {
  return std::async(std::launch::async, [&order, account] {
    server::StoreOrder::Ticket ticket = order.Arrive();
    ticket.Classify(false, "");
    ticket.AwaitEarlierStores(account);
  });
}

TEST(StoreOrder, ChangeListsWaitOnlyForEarlierStoresOfTheirAccount) {
  using namespace std::chrono_literals;
  server::StoreOrder order;
  std::future<void> sameAccount;
  std::future<void> afterUnparsed;
  {
    server::StoreOrder::Ticket upload = order.Arrive();
    upload.Classify(true, "Owner@Example.com");
    EXPECT_EQ(ChangeList(order, "other@example.com").wait_for(10s), std::future_status::ready);
    sameAccount = ChangeList(order, "owner@example.com");
    EXPECT_EQ(sameAccount.wait_for(100ms), std::future_status::timeout);
    {
      // A request not parsed yet may be a store of anyone.
      server::StoreOrder::Ticket unparsed = order.Arrive();
      afterUnparsed = ChangeList(order, "other@example.com");
      EXPECT_EQ(afterUnparsed.wait_for(100ms), std::future_status::timeout);
      unparsed.Classify(false, "");
      EXPECT_EQ(afterUnparsed.wait_for(10s), std::future_status::ready);
    }
    EXPECT_EQ(sameAccount.wait_for(0s), std::future_status::timeout);
  }
  EXPECT_EQ(sameAccount.wait_for(10s), std::future_status::ready);
}

}  // namespace
}  // namespace servertest
