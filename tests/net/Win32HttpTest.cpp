#include "net/Win32Http.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "net/HttpErrors.h"
#include "net/Win32LargeStream.h"
#include "net/Win32SmallStream.h"
#include "net/XmlWriter.h"
#include "tests/support/RawHttpServer.h"
#include "tests/support/TempDeviceRoot.h"

namespace {

using testsupport::RawHttpServer;

// Answers "go on" until the call numbered `cancelAt` (1-based), then "stop".
struct AskCounter {
  int calls = 0;
  int cancelAt = 0;
  static int Callback(void* context, const net::ProgressRecord*) {
    auto* self = static_cast<AskCounter*>(context);
    ++self->calls;
    return self->cancelAt != 0 && self->calls >= self->cancelAt ? 0 : 1;
  }
};

std::string ReadAll(net::Stream& stream) {
  std::string text;
  uint8_t ch = 0;
  while (stream.ReadByte(ch)) text.push_back(static_cast<char>(ch));
  return text;
}

std::unique_ptr<net::Stream> TextStream(const std::string& text) {
  std::unique_ptr<net::Stream> s = net::Win32SmallStream::Create();
  net::XmlWriter::WriteText(*s, text);
  return s;
}

class Win32HttpTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(http_.Open()); }
  void TearDown() override { http_.Close(); }

  void Post(net::HttpRequest& request, uint16_t port, const std::string& body) {
    request.SetMethod("POST");
    request.SetServer(false, "127.0.0.1", nullptr, port, "/ws/");
    request.SetContentType("text/xml; charset=utf-8");
    request.SetBody(TextStream(body));
  }

  testsupport::TempDeviceRoot root_;
  net::Win32Http http_;
  RawHttpServer server_;
};

TEST_F(Win32HttpTest, SendsExactlyTheRequestTextAndReadsTheAnswer) {
  server_.EnqueueOk("<answer/>");
  net::HttpRequest request;
  Post(request, server_.Port(), "<x>body</x>");
  request.AddHeader("User-Agent: test-agent");
  request.AddHeader("SOAPAction: \"http://h/ws/GU\"");

  auto response = http_.Send(request);
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatus(), 0u);
  net::Stream* body = response->GetBody();
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(ReadAll(*body), "<answer/>");

  ASSERT_EQ(server_.Requests().size(), 1u);
  const std::string port = std::to_string(server_.Port());
  EXPECT_EQ(server_.Requests()[0],
            "POST /ws/ HTTP/1.0\r\nHost: 127.0.0.1:" + port +
                "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: 11\r\n"
                "User-Agent: test-agent\r\nSOAPAction: \"http://h/ws/GU\"\r\n\r\n<x>body</x>");
}

TEST_F(Win32HttpTest, GetWithEmptyPathAndFiveHeadersSendsSlashAndFourHeaders) {
  server_.EnqueueOk("photo");
  net::HttpRequest request;
  request.SetMethod("GET");
  request.SetServer(false, "127.0.0.1", "127.0.0.1", server_.Port(), "");
  EXPECT_TRUE(request.AddHeader("A: 1"));
  EXPECT_TRUE(request.AddHeader("B: 2"));
  EXPECT_TRUE(request.AddHeader("C: 3"));
  EXPECT_TRUE(request.AddHeader("D: 4"));
  EXPECT_FALSE(request.AddHeader("E: 5"));

  auto response = http_.Send(request);
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatus(), 0u);
  EXPECT_EQ(server_.Requests().at(0),
            "GET / HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server_.Port()) +
                "\r\nContent-Type: text\r\nContent-Length: 0\r\nA: 1\r\nB: 2\r\nC: 3\r\nD: 4\r\n\r\n");
}

TEST_F(Win32HttpTest, InterimContinueBlockIsSkippedForStatusAndBody) {
  server_.EnqueueRaw(
      "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 4\r\nConnection: close\r\n\r\nBODY");
  net::HttpRequest request;
  Post(request, server_.Port(), "x");
  auto response = http_.Send(request);
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatus(), 0u);
  EXPECT_EQ(ReadAll(*response->GetBody()), "BODY");
  // The answer stream keeps both header blocks ahead of the body.
  response->Answer()->Seek(0);
  EXPECT_EQ(ReadAll(*response->Answer()).rfind("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\n", 0), 0u);
}

TEST_F(Win32HttpTest, StatusCodesAndBrokenAnswers) {
  struct Case {
    std::string answer;
    uint32_t status;
  } cases[] = {
      {"HTTP/1.0 201 Created\r\nContent-Length: 0\r\n\r\n", 0},
      {"HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n", 404},
      {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 2\r\nConnection: close\r\n\r\nno", 500},
      // Line ends of a bare LF are stored as CR LF, so the body is still found.
      {"HTTP/1.0 200 OK\nContent-Length: 2\n\nok", 0},
      {"garbage that is not HTTP\r\n\r\n", net::kHttpErrInvalidServerResponse},
      {"", net::kHttpErrInvalidServerResponse},
      // The server promises 100 bytes and closes after 5.
      {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\nshort", net::kHttpErrConnectionAborted},
  };
  for (const Case& c : cases) {
    server_.EnqueueRaw(c.answer);
    net::HttpRequest request;
    Post(request, server_.Port(), "x");
    auto response = http_.Send(request);
    ASSERT_NE(response, nullptr);
    EXPECT_EQ(response->GetStatus(), c.status) << c.answer;
    if (c.answer.find("\nok") != std::string::npos) {
      EXPECT_EQ(ReadAll(*response->GetBody()), "ok");
    }
  }
}

TEST_F(Win32HttpTest, ConnectionRefusedAndNotOpened) {
  net::HttpRequest request;
  Post(request, RawHttpServer::UnusedPort(), "x");
  auto response = http_.Send(request);
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatus(), net::kHttpErrCannotConnect);
  EXPECT_EQ(response->GetBody(), nullptr);
  EXPECT_EQ(http_.LastResult(), net::kHttpErrCannotConnect);
  EXPECT_TRUE(http_.IsFailure(response->GetStatus()));

  http_.Close();
  net::HttpRequest again;
  Post(again, server_.Port(), "x");
  EXPECT_NE(http_.Send(again)->Result(), 0u);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(Win32HttpTest, ResponseWithoutAnswerStreamIs65535) {
  net::HttpResponse response;
  EXPECT_EQ(response.GetStatus(), net::kResultNoAnswer);
  response.SetResult(12029);
  EXPECT_EQ(response.GetStatus(), 12029u);
}

TEST_F(Win32HttpTest, LargeBodiesTravelWholeInBothDirections) {
  std::string big;
  for (int i = 0; i < 40000; ++i) big.push_back(static_cast<char>('a' + i % 26));
  server_.EnqueueOk(big + big);
  net::HttpRequest request;
  Post(request, server_.Port(), big);
  auto response = http_.Send(request);
  ASSERT_NE(response, nullptr);
  ASSERT_EQ(response->GetStatus(), 0u);
  EXPECT_EQ(ReadAll(*response->GetBody()), big + big);
  EXPECT_EQ(RawHttpServer::BodyOf(server_.Requests().at(0)), big);
}

TEST_F(Win32HttpTest, ABodyCutOffOnAKeptConnectionGoesOutAgainOnANewOne) {
  server_.Enqueue({"HTTP/1.0 200 OK\r\nConnection: keep-alive\r\nContent-Length: 5\r\n\r\nfirst", false, true});
  server_.EnqueueOk("second");
  net::HttpRequest first;
  Post(first, server_.Port(), "x");
  first.AddHeader("Connection: keep-alive");
  auto answer = http_.Send(first);
  ASSERT_NE(answer, nullptr);
  ASSERT_EQ(answer->GetStatus(), 0u);
  EXPECT_EQ(ReadAll(*answer->GetBody()), "first");

  // Far more than the socket buffers hold, so the reset meets the send.
  const std::string big(8 * 1024 * 1024, 'b');
  net::HttpRequest second;
  Post(second, server_.Port(), big);
  second.AddHeader("Connection: keep-alive");
  auto retried = http_.Send(second);
  ASSERT_NE(retried, nullptr);
  ASSERT_EQ(retried->GetStatus(), 0u);
  EXPECT_EQ(ReadAll(*retried->GetBody()), "second");
  // The cut request's head on the kept connection, then the whole request anew.
  ASSERT_EQ(server_.Requests().size(), 3u);
  EXPECT_EQ(server_.Requests()[1].substr(0, 9), "POST /ws/");
  EXPECT_EQ(RawHttpServer::BodyOf(server_.Requests()[2]), big);
}

TEST_F(Win32HttpTest, CancelAtEveryDesignedAskPointGives1223) {
  const std::string body(5000, 'b');
  // Asks that happen in every transfer of this request: one before the header
  // copy, one per header byte, one before the body, one per body piece, and at
  // least one read of the answer.
  net::HttpRequest probe;
  Post(probe, server_.Port(), body);
  auto text = probe.BuildRequestText();
  const std::string all = ReadAll(*text);
  const int headerBytes = static_cast<int>(all.find("\r\n\r\n") + 2 - (all.find("\r\n") + 2));
  const int minimumAsks = 1 + headerBytes + 1 + 3 + 1;

  for (int cancelAt = 1; cancelAt <= minimumAsks; cancelAt += (cancelAt < headerBytes ? 37 : 1)) {
    server_.EnqueueOk("answer");
    AskCounter counter;
    counter.cancelAt = cancelAt;
    net::HttpRequest request;
    Post(request, server_.Port(), body);
    request.SetCallback(&AskCounter::Callback, &counter);
    auto response = http_.Send(request);
    ASSERT_NE(response, nullptr);
    EXPECT_EQ(response->GetStatus(), 1223u) << "cancel at ask " << cancelAt;
    EXPECT_EQ(http_.LastResult(), 1223u);
    EXPECT_TRUE(http_.IsCancelled(response->GetStatus()));
    EXPECT_FALSE(http_.IsFailure(response->GetStatus()));
  }
}

TEST_F(Win32HttpTest, CancelWhileTheServerIsSilent) {
  server_.EnqueueSilent();
  net::HttpRequest request;
  Post(request, server_.Port(), "x");
  struct Deadline {
    std::chrono::steady_clock::time_point cancelAfter;
    static int Callback(void* context, const net::ProgressRecord*) {
      return std::chrono::steady_clock::now() < static_cast<Deadline*>(context)->cancelAfter ? 1 : 0;
    }
  } deadline{std::chrono::steady_clock::now() + std::chrono::milliseconds(300)};
  request.SetCallback(&Deadline::Callback, &deadline);
  const auto started = std::chrono::steady_clock::now();
  auto response = http_.Send(request);
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatus(), 1223u);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST_F(Win32HttpTest, ServerThatStopsSendingTimesOut) {
  http_.SetTimeouts(30, 1);
  server_.EnqueueSilent();
  net::HttpRequest request;
  Post(request, server_.Port(), "x");
  auto response = http_.Send(request);
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatus(), net::kHttpErrTimeout);
}

TEST_F(Win32HttpTest, SixthServerReplacesTheFifthCachedConnection) {
  uint16_t ports[6];
  for (uint16_t& p : ports) p = RawHttpServer::UnusedPort();
  for (uint16_t p : ports) {
    net::HttpRequest request;
    Post(request, p, "x");
    http_.Send(request);
  }
  std::string host;
  uint16_t port = 0;
  for (int slot = 0; slot < 4; ++slot) {
    ASSERT_TRUE(http_.CachedConnection(slot, host, port));
    EXPECT_EQ(port, ports[slot]);
    EXPECT_EQ(host, "127.0.0.1");
  }
  ASSERT_TRUE(http_.CachedConnection(4, host, port));
  EXPECT_EQ(port, ports[5]);

  // A known pair is reused, not cached twice.
  net::HttpRequest again;
  Post(again, ports[1], "x");
  http_.Send(again);
  ASSERT_TRUE(http_.CachedConnection(4, host, port));
  EXPECT_EQ(port, ports[5]);

  http_.Close();
  EXPECT_FALSE(http_.CachedConnection(0, host, port));
}

TEST_F(Win32HttpTest, LoopbackIsReachedPastAConfiguredProxy) {
  const std::string proxy = "http://127.0.0.1:" + std::to_string(RawHttpServer::UnusedPort());
  ::setenv("http_proxy", proxy.c_str(), 1);
  server_.EnqueueOk("direct");
  net::HttpRequest request;
  Post(request, server_.Port(), "x");
  auto response = http_.Send(request);
  ::unsetenv("http_proxy");
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatus(), 0u);
  EXPECT_EQ(ReadAll(*response->GetBody()), "direct");
}

TEST_F(Win32HttpTest, UserAgentNamesTheProgramAndVersion) {
  auto header = http_.MakeUserAgentHeader();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(ReadAll(*header), "User-Agent: WinCE-Smartphone tests_net 1.0");
}

// A real HTTP server must understand the request text as we send it.
TEST_F(Win32HttpTest, RealServerParsesRequests) {
  httplib::Server real;
  std::string seenBody;
  std::string seenAction;
  std::string seenLength;
  real.Post("/ws/", [&](const httplib::Request& req, httplib::Response& res) {
    seenBody = req.body;
    seenAction = req.get_header_value("SOAPAction");
    seenLength = req.get_header_value("Content-Length");
    res.set_content("<ok/>", "text/xml");
  });
  const int port = real.bind_to_any_port("127.0.0.1");
  std::thread serving([&] { real.listen_after_bind(); });

  net::HttpRequest request;
  Post(request, static_cast<uint16_t>(port), "<soap>é</soap>");
  request.AddHeader("SOAPAction: \"http://h/ws/GC\"");
  auto response = http_.Send(request);
  real.stop();
  serving.join();
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatus(), 0u);
  EXPECT_EQ(ReadAll(*response->GetBody()), "<ok/>");
  EXPECT_EQ(seenBody, "<soap>é</soap>");
  EXPECT_EQ(seenAction, "\"http://h/ws/GC\"");
  EXPECT_EQ(seenLength, std::to_string(seenBody.size()));
}

TEST_F(Win32HttpTest, FileBodyLargerThanTheUploadBufferArrivesWholeAndCancelsAtAPiece) {
  // Not a multiple of the piece or of the upload buffer, so the last piece is short.
  std::string body(3 * net::Win32Http::kUploadBufferSize / 2 + 777, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('A' + (i * 31 + i / 4093) % 58);
  auto fileBody = [&body] {
    std::unique_ptr<net::Stream> s = net::Win32LargeStream::CreateTemporary();
    EXPECT_TRUE(s && s->Write(body.data(), static_cast<uint32_t>(body.size())) && s->Seek(0));
    return s;
  };
  auto post = [&](net::HttpRequest& request) {
    request.SetMethod("POST");
    request.SetServer(false, "127.0.0.1", nullptr, server_.Port(), "/ws/");
    request.SetContentType("text/xml; charset=utf-8");
    request.SetBody(fileBody());
  };

  server_.EnqueueOk("done");
  AskCounter counter;
  net::HttpRequest request;
  post(request);
  request.SetCallback(&AskCounter::Callback, &counter);
  auto response = http_.Send(request);
  ASSERT_NE(response, nullptr);
  ASSERT_EQ(response->GetStatus(), 0u);
  ASSERT_TRUE(server_.WaitForRequests(1));
  const std::string sent = server_.Requests().at(0);
  EXPECT_NE(sent.find("\r\nContent-Length: " + std::to_string(body.size()) + "\r\n"), std::string::npos);
  EXPECT_TRUE(RawHttpServer::BodyOf(sent) == body);
  const int pieces = static_cast<int>((body.size() + net::Win32Http::kPieceSize - 1) / net::Win32Http::kPieceSize);
  EXPECT_GE(counter.calls, pieces);

  // Asks in the second upload buffer-full are still asks of 2048-byte pieces.
  net::HttpRequest probe;
  post(probe);
  auto text = probe.BuildRequestText();
  const std::string all = ReadAll(*text);
  const int headerBytes = static_cast<int>(all.find("\r\n\r\n") + 2 - (all.find("\r\n") + 2));
  const int piecesPerBuffer = static_cast<int>(net::Win32Http::kUploadBufferSize / net::Win32Http::kPieceSize);
  server_.EnqueueOk("never read");
  AskCounter cancel;
  cancel.cancelAt = 1 + headerBytes + 1 + piecesPerBuffer + 3;
  net::HttpRequest cancelled;
  post(cancelled);
  cancelled.SetCallback(&AskCounter::Callback, &cancel);
  response = http_.Send(cancelled);
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->GetStatus(), 1223u);
  EXPECT_EQ(http_.LastResult(), 1223u);
  EXPECT_EQ(cancel.calls, cancel.cancelAt);
}

}  // namespace
