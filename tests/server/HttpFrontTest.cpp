// The HTTP front: body framing and limits, keep-alive, and clients that are slow
// on purpose.
#include "tests/server/ServiceTest.h"

#include <atomic>
#include <latch>
#include <thread>

#include "tests/server/RawConnection.h"

namespace servertest {
namespace {

using namespace std::chrono_literals;

std::string SoapHead(const std::string& op, const std::string& framing) {
  return "POST /ws/ HTTP/1.1\r\nHost: x\r\nContent-Type: text/xml\r\nSOAPAction: \"http://x/ws/" + op + "\"\r\n" +
         framing + "\r\n";
}

std::string Chunk(const std::string& data) {
  char size[32];
  std::snprintf(size, sizeof size, "%zx", data.size());
  return std::string(size) + "\r\n" + data + "\r\n";
}

class HttpFrontTest : public ServiceTest {};

TEST_F(HttpFrontTest, ChunkedBodyIsReassembled) {
  std::string body = owner->Envelope("GU", owner->AuthBlock("chunked"));
  size_t third = body.size() / 3;
  RawConnection conn(harness->Port());
  ASSERT_TRUE(conn.Send(SoapHead("GU", "Transfer-Encoding: chunked\r\nConnection: close\r\n") +
                        Chunk(body.substr(0, third)) + "5;name=value\r\n" + body.substr(third, 5) + "\r\n" +
                        Chunk(body.substr(third + 5)) + "0\r\nX-Trailer: t\r\n\r\n"));
  std::string answer = conn.ReadUntilClosed(10s);
  EXPECT_EQ(answer.substr(0, 12), "HTTP/1.1 200") << answer;
  EXPECT_EQ(ElementText(answer, "AT"), "free") << answer;
}

TEST_F(HttpFrontTest, PipelinedRequestsAreAnsweredInOrder) {
  std::string first = owner->Envelope("GU", owner->AuthBlock("first"));
  std::string second = owner->Envelope("GC", owner->AuthBlock("second") + "<BI>mine</BI><TS /><VP /><MX />");
  RawConnection conn(harness->Port());
  ASSERT_TRUE(conn.Send(SoapHead("GU", "Content-Length: " + std::to_string(first.size()) + "\r\n") + first +
                        SoapHead("GC", "Content-Length: " + std::to_string(second.size()) +
                                           "\r\nConnection: close\r\n") +
                        second));
  std::string answers = conn.ReadUntilClosed(10s);
  size_t gu = answers.find("<GUResult>");
  size_t gc = answers.find("<GCResult>");
  EXPECT_NE(gu, std::string::npos) << answers;
  EXPECT_NE(gc, std::string::npos) << answers;
  EXPECT_LT(gu, gc);
}

TEST(HttpFrontLimits, ChunkedBodiesObeyTheSizeLimit) {
  ServiceHarness small(256 * 1024);
  RawConnection conn(small.Port());
  ASSERT_TRUE(conn.Send(SoapHead("GU", "Transfer-Encoding: chunked\r\n")));
  std::string chunk = Chunk(std::string(64 * 1024, ' '));
  for (int i = 0; i < 8 && conn.Send(chunk); ++i) {
  }
  conn.Send("0\r\n\r\n");
  std::string answer = conn.ReadUntilClosed(10s);
  EXPECT_EQ(answer.substr(0, 12), "HTTP/1.1 413") << answer.substr(0, 200);
}

class SlowClientsTest : public ServiceTest {
 protected:
  void Configure(server::ServiceConfig& config) override { config.http.maxWaiting = 64; }
};

TEST_F(SlowClientsTest, IdleAndTricklingConnectionsDoNotHoldUpCompleteRequests) {
  std::vector<std::unique_ptr<RawConnection>> idle;
  for (int i = 0; i < 300; ++i) idle.push_back(std::make_unique<RawConnection>(harness->Port()));
  std::vector<std::unique_ptr<RawConnection>> slow;
  for (int i = 0; i < 20; ++i) {
    slow.push_back(std::make_unique<RawConnection>(harness->Port()));
    slow.back()->Send("POST /ws/ HTTP/1.1\r\n");
  }
  std::atomic<bool> answered{false};
  std::atomic<bool> trickling{true};
  std::thread trickle([&] {
    for (int round = 0; round < 100 && !answered; ++round) {
      for (auto& conn : slow) conn->Send("X-Slow: 1\r\n");
      std::this_thread::sleep_for(100ms);
    }
    trickling = false;
  });
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Message(owner->Call("GU")), "");
  // Answered while the slow clients were still sending their headers.
  EXPECT_TRUE(trickling.load());
  answered = true;
  trickle.join();
}

class DeadlinesTest : public ServiceTest {
 protected:
  void Configure(server::ServiceConfig& config) override {
    config.http.headTimeout = 300ms;
    config.http.transferTimeout = 300ms;
    config.http.bytesPerSecond = size_t{1} << 30;
  }
};

TEST_F(DeadlinesTest, RequestsSentTooSlowlyAreDropped) {
  RawConnection head(harness->Port());
  RawConnection body(harness->Port());
  ASSERT_TRUE(head.Send("GET /mine HTTP/1.1\r\n"));
  ASSERT_TRUE(body.Send("POST /ws/ HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n\r\n<"));
  std::string headAnswer;
  std::string bodyAnswer;
  bool headClosed = false;
  bool bodyClosed = false;
  for (int round = 0; round < 100 && !(headClosed && bodyClosed); ++round) {
    if (!headClosed) head.Send("X-Slow: 1\r\n");
    if (!bodyClosed) body.Send("x");
    headAnswer += head.ReadUntilClosed(50ms);
    bodyAnswer += body.ReadUntilClosed(0ms);
    headClosed = head.ClosedWithin(0ms);
    bodyClosed = body.ClosedWithin(0ms);
  }
  EXPECT_TRUE(headClosed);
  EXPECT_TRUE(bodyClosed);
  EXPECT_EQ(headAnswer.substr(0, 12), "HTTP/1.1 408");
  EXPECT_EQ(bodyAnswer.substr(0, 12), "HTTP/1.1 408");
}

}  // namespace
}  // namespace servertest

namespace servertest {
namespace {

class GracefulStopTest : public ServiceTest {
 protected:
  void Configure(server::ServiceConfig& config) override {
    config.holdUpload = [this] {
      held.count_down();
      release.wait();
    };
  }
  std::latch held{1};
  std::latch release{1};
};

TEST_F(GracefulStopTest, RequestsUnderWayAreAnsweredAndNewOnesRefused) {
  RawConnection idle(harness->Port());
  ASSERT_TRUE(idle.Connected());
  std::string added;
  std::thread upload([&] { added = AddEntry(*owner, "mine", "under way"); });
  held.wait();
  harness->Finish();
  // The idle connection is closed and nobody new gets in...
  EXPECT_TRUE(idle.ClosedWithin(5s));
  bool refused = false;
  for (int i = 0; i < 100 && !refused; ++i) {
    refused = !RawConnection(harness->Port()).Connected();
    if (!refused) std::this_thread::sleep_for(20ms);
  }
  EXPECT_TRUE(refused);
  // ...while the upload under way is still waited for.
  EXPECT_FALSE(harness->RunEndedWithin(200ms));
  release.count_down();
  upload.join();
  EXPECT_FALSE(added.empty());
  EXPECT_TRUE(harness->RunEndedWithin(5s));
}

}  // namespace
}  // namespace servertest
