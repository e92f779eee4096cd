// How the front reads request heads and chunked bodies off the wire.
#include <gtest/gtest.h>

#include "server/ChunkedDecoder.h"
#include "server/RequestHead.h"

namespace servertest {
namespace {

using server::ChunkedDecoder;
using server::RequestHead;

int ParseStatus(const std::string& text) {
  RequestHead head;
  return RequestHead::Parse(text, head);
}

TEST(RequestHead, FramingComesFromLengthOrChunkedCoding) {
  RequestHead head;
  ASSERT_EQ(RequestHead::Parse("POST /ws/ HTTP/1.1\r\nContent-Length:  12 \r\nExpect: 100-Continue\r\n", head), 0);
  EXPECT_EQ(head.framing, RequestHead::Framing::kLength);
  EXPECT_EQ(head.contentLength, 12u);
  EXPECT_TRUE(head.expectContinue);
  EXPECT_EQ(head.Forwarded(), "POST /ws/ HTTP/1.1\r\n\r\n");
  ASSERT_EQ(RequestHead::Parse("POST /ws/ HTTP/1.1\nTransfer-Encoding: Chunked\nSOAPAction: x\n", head), 0);
  EXPECT_EQ(head.framing, RequestHead::Framing::kChunked);
  EXPECT_EQ(head.Forwarded(), "POST /ws/ HTTP/1.1\r\nSOAPAction: x\r\n\r\n");
  ASSERT_EQ(RequestHead::Parse("GET /photos/a.jpg HTTP/1.0\r\nContent-Length: 0\r\n", head), 0);
  EXPECT_EQ(head.framing, RequestHead::Framing::kNone);
}

TEST(RequestHead, RefusesWhatCouldBeReadTwoWays) {
  EXPECT_EQ(ParseStatus("POST / HTTP/1.1\r\nContent-Length: 5\r\nTransfer-Encoding: chunked\r\n"), 400);
  EXPECT_EQ(ParseStatus("POST / HTTP/1.1\r\nContent-Length: 5\r\nContent-Length: 6\r\n"), 400);
  EXPECT_EQ(ParseStatus("POST / HTTP/1.1\r\nContent-Length: 5\r\nContent-Length: 5\r\n"), 0);
  EXPECT_EQ(ParseStatus("POST / HTTP/1.1\r\nContent-Length: -5\r\n"), 400);
  EXPECT_EQ(ParseStatus("POST / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n"), 400);
  EXPECT_EQ(ParseStatus("POST / HTTP/1.1\r\nTransfer-Encoding: gzip, chunked\r\n"), 501);
  EXPECT_EQ(ParseStatus("POST / HTTP/1.1\r\nContent-Length : 5\r\n"), 400);
  EXPECT_EQ(ParseStatus("POST / HTTP/1.1\r\nX-A: b\r\n folded\r\n"), 400);
  EXPECT_EQ(ParseStatus("GET / HTTP/2.0\r\n"), 505);
  EXPECT_EQ(ParseStatus("GET /a b HTTP/1.1\r\n"), 400);
  EXPECT_EQ(ParseStatus("GET /" + std::string(RequestHead::kMaxTarget, 'a') + " HTTP/1.1\r\n"), 414);
}

TEST(RequestHead, EndIsTheFirstBlankLine) {
  size_t head = 0;
  size_t total = 0;
  EXPECT_FALSE(RequestHead::FindEnd("GET / HTTP/1.1\r\nHost: x\r\n", head, total));
  ASSERT_TRUE(RequestHead::FindEnd("GET / HTTP/1.1\r\nHost: x\r\n\r\nBODY", head, total));
  EXPECT_EQ(head, 25u);
  EXPECT_EQ(total, 27u);
  ASSERT_TRUE(RequestHead::FindEnd("GET / HTTP/1.1\nHost: x\n\nBODY", head, total));
  EXPECT_EQ(total, 24u);
}

TEST(ChunkedDecoder, ByteByByteGivesWhatWholeGives) {
  const std::string wire = "4;ext=1\r\nWiki\r\n0E\r\npedia in\r\n\r\nch\r\n0\r\nTrailer: x\r\n\r\nNEXT";
  std::string whole;
  size_t used = 0;
  ChunkedDecoder once(1000);
  ASSERT_EQ(once.Feed(wire, whole, used), ChunkedDecoder::Result::kDone);
  EXPECT_EQ(whole, "Wikipedia in\r\n\r\nch");
  EXPECT_EQ(wire.substr(used), "NEXT");
  std::string pieces;
  ChunkedDecoder slow(1000);
  size_t at = 0;
  ChunkedDecoder::Result result = ChunkedDecoder::Result::kMore;
  for (; at < wire.size() && result == ChunkedDecoder::Result::kMore; ++at) {
    result = slow.Feed(wire.substr(at, 1), pieces, used);
  }
  EXPECT_EQ(result, ChunkedDecoder::Result::kDone);
  EXPECT_EQ(at, wire.size() - 4);
  EXPECT_EQ(pieces, whole);
}

TEST(ChunkedDecoder, RefusesMalformedAndOversizedBodiesEarly) {
  auto feed = [](const std::string& wire, size_t limit) {
    std::string body;
    size_t used = 0;
    ChunkedDecoder decoder(limit);
    return decoder.Feed(wire, body, used);
  };
  EXPECT_EQ(feed("zz\r\n", 100), ChunkedDecoder::Result::kMalformed);
  EXPECT_EQ(feed("\r\n", 100), ChunkedDecoder::Result::kMalformed);
  EXPECT_EQ(feed("3\r\nabcX\r\n", 100), ChunkedDecoder::Result::kMalformed);
  EXPECT_EQ(feed("1000000000000000\r\n", 100), ChunkedDecoder::Result::kMalformed);
  EXPECT_EQ(feed(std::string(5000, '1'), 100), ChunkedDecoder::Result::kMalformed);
  // The size line alone gives the excess away, before any of its data.
  EXPECT_EQ(feed("65\r\n", 100), ChunkedDecoder::Result::kTooLarge);
  EXPECT_EQ(feed("32\r\n" + std::string(50, 'a') + "\r\n33\r\n", 100), ChunkedDecoder::Result::kTooLarge);
  EXPECT_EQ(feed("64\r\n" + std::string(100, 'a') + "\r\n0\r\n\r\n", 100), ChunkedDecoder::Result::kDone);
}

}  // namespace
}  // namespace servertest
