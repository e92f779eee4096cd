// Many clients at once: every request answered without error, no write lost.
#include "tests/server/ServiceTest.h"

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace servertest {
namespace {

class LoadTest : public ServiceTest {};

TEST_F(LoadTest, FiftyClientsTwoHundredRequestsEach) {
  constexpr int kClients = 50;
  constexpr int kRequests = 200;
  std::string entry = AddEntry(*owner, "mine", "busy");
  ASSERT_FALSE(entry.empty());
  const char* users[][2] = {{"owner@example.com", "pw-owner"}, {"member@example.com", "pw-member"},
                            {"other@example.com", "pw-other"}};
  std::atomic<int> failures{0};
  std::atomic<int> answered{0};
  auto started = std::chrono::steady_clock::now();
  std::vector<std::thread> threads;
  for (int c = 0; c < kClients; ++c) {
    threads.emplace_back([&, c] {
      SoapClient client(harness->Port(), users[c % 3][0], users[c % 3][1]);
      client.SetCreated(harness->Now());
      for (int i = 0; i < kRequests; ++i) {
        std::string xml;
        if (i % 2 == 0) {
          xml = client.Call("AO", "mine",
                            "<OM><ID>" + entry + "</ID><OD>2026-03-02T08:00:00Z</OD><OT>c" + std::to_string(c) + "-" +
                                std::to_string(i) + "</OT></OM>");
        } else {
          xml = i % 4 == 1 ? client.Call("GU") : client.Call("GC", "club", "<TS /><VP /><MX />");
        }
        if (xml.find("</soap:Envelope>") == std::string::npos || xml.find("<MS") != std::string::npos) {
          if (failures.fetch_add(1) == 0) ADD_FAILURE() << xml;
        }
        answered.fetch_add(1);
      }
    });
  }
  for (std::thread& t : threads) t.join();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(answered.load(), kClients * kRequests);
  // A generous bound: it only catches a service that stalls, not a slow machine.
  EXPECT_LT(seconds, 120.0);

  std::string xml = FullChanges(*owner, "mine");
  std::vector<std::string> texts = AllTexts(xml, "OT");
  std::set<std::string> unique(texts.begin(), texts.end());
  EXPECT_EQ(texts.size(), static_cast<size_t>(kClients * kRequests / 2));
  EXPECT_EQ(unique.size(), texts.size());
  std::vector<std::string> ids = AllTexts(xml, "OI");
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
}

}  // namespace
}  // namespace servertest
