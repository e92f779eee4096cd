// Units of the service's own protocol code: request parsing, digests, dates,
// answer escaping, input rules, images.
#include <gtest/gtest.h>

#include "server/AnswerWriter.h"
#include "server/Crypto.h"
#include "server/ImageScaler.h"
#include "server/JpegCodec.h"
#include "server/ServiceMessages.h"
#include "server/SoapRequest.h"
#include "server/TextRules.h"
#include "server/Timestamp.h"
#include "tests/server/SoapClient.h"

namespace {

using server::SoapRequest;

std::string Wrap(const std::string& op, const std::string& inner) {
  servertest::SoapClient client(0, "", "");
  return client.Envelope(op, inner);
}

TEST(SoapRequest, ActionNamesTheOperationOnAnyHostButOnlyUnderWs) {
  EXPECT_EQ(SoapRequest::OperationFromAction("\"http://photo.example.com/ws/GC\""), "GC");
  EXPECT_EQ(SoapRequest::OperationFromAction("http://127.0.0.1:8080/ws/PhotoEMail"), "PhotoEMail");
  EXPECT_EQ(SoapRequest::OperationFromAction("  \"https://h/ws/AP\"  "), "AP");
  EXPECT_EQ(SoapRequest::OperationFromAction("\"http://h/other/GC\""), "");
  EXPECT_EQ(SoapRequest::OperationFromAction("\"http://h/ws/\""), "");
  EXPECT_EQ(SoapRequest::OperationFromAction("\"http://h/ws/GC/x\""), "");
  EXPECT_EQ(SoapRequest::OperationFromAction("\"ftp://h/ws/GC\""), "");
  EXPECT_EQ(SoapRequest::OperationFromAction("\"http:///ws/GC\""), "");
  EXPECT_EQ(SoapRequest::OperationFromAction(""), "");
}

TEST(SoapRequest, ReadsAuthenticationBlogAndPayload) {
  SoapRequest request;
  std::string body = Wrap("GC",
                          "<AU><UN>a@b.example</UN><DI>xyz=</DI><CR>2026-01-02T03:04:05Z</CR><NO>n1</NO></AU>"
                          "<BI>my&amp;blog</BI><TS /><MX> 25 </MX>");
  ASSERT_EQ(request.Parse("\"http://h/ws/GC\"", body), server::kOk);
  EXPECT_EQ(request.Operation(), "GC");
  EXPECT_TRUE(request.Auth().present);
  EXPECT_EQ(request.Auth().user, "a@b.example");
  EXPECT_EQ(request.Auth().digest, "xyz=");
  EXPECT_EQ(request.Auth().created, "2026-01-02T03:04:05Z");
  EXPECT_EQ(request.Auth().nonce, "n1");
  EXPECT_TRUE(request.HasBlog());
  EXPECT_EQ(request.Blog(), "my&blog");
  int64_t mx = -1;
  EXPECT_TRUE(SoapRequest::Number(request.Payload(), "MX", mx));
  EXPECT_EQ(mx, 25);
  EXPECT_TRUE(SoapRequest::Number(request.Payload(), "TS", mx));
  EXPECT_EQ(mx, 0);
}

TEST(SoapRequest, RefusesWhatIsNotTheEnvelope) {
  const std::string action = "\"http://h/ws/GU\"";
  for (const std::string& body : {
           std::string("not xml at all"),
           std::string(""),
           std::string("<Envelope><Body><GU><RQ><GU><V>3</V></GU></RQ></GU></Body></Envelope>"),  // one RQ missing
           std::string("<Envelope><Body><GC><RQ><GC><RQ><V>3</V></RQ></GC></RQ></GC></Body></Envelope>"),  // other op
           std::string("<Other><Body><GU><RQ><GU><RQ><V>3</V></RQ></GU></RQ></GU></Body></Other>"),
           std::string("<Envelope><Body><GU><RQ><GU><RQ><V>3</V></RQ></GU></RQ></GU></Body>"),  // unclosed
       }) {
    SoapRequest request;
    EXPECT_EQ(request.Parse(action, body), server::kInvalidRequest) << body;
  }
  SoapRequest prefixed;
  EXPECT_EQ(prefixed.Parse(action, "<s:Envelope xmlns:s=\"x\"><s:Body><GU><RQ><GU><RQ><V>3</V></RQ></GU></RQ></GU>"
                                   "</s:Body></s:Envelope>"),
            server::kOk);
}

TEST(SoapRequest, VersionMustBeThreeAndFirst) {
  const std::string action = "\"http://h/ws/GU\"";
  for (const std::string& inner : {std::string("<V>2</V>"), std::string("<V></V>"), std::string("<V>33</V>")}) {
    std::string body = Wrap("GU", "");
    body.replace(body.find("<V>3</V>"), 8, inner);
    SoapRequest request;
    EXPECT_EQ(request.Parse(action, body), server::kInvalidVersion) << inner;
  }
  std::string noVersion = Wrap("GU", "");
  noVersion.erase(noVersion.find("<V>3</V>"), 8);
  SoapRequest request;
  EXPECT_EQ(request.Parse(action, noVersion), server::kInvalidVersion);
}

TEST(SoapRequest, NumbersAreUnsigned32Bit) {
  pugi::xml_document doc;
  doc.load_string("<r><a>4294967295</a><b>4294967296</b><c>-1</c><d>12x</d><e/></r>");
  pugi::xml_node r = doc.child("r");
  int64_t v = 0;
  EXPECT_TRUE(SoapRequest::Number(r, "a", v));
  EXPECT_EQ(v, 4294967295LL);
  EXPECT_FALSE(SoapRequest::Number(r, "b", v));
  EXPECT_FALSE(SoapRequest::Number(r, "c", v));
  EXPECT_FALSE(SoapRequest::Number(r, "d", v));
  EXPECT_TRUE(SoapRequest::Number(r, "e", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(SoapRequest::Number(r, "missing", v));
  EXPECT_EQ(v, 0);
}

TEST(Crypto, DigestMatchesAnIndependentComputation) {
  EXPECT_EQ(server::Crypto::Sha1Base64("abc"), "qZk+NkcGgWq6PiVxeFDCbJzQ2J0=");
  EXPECT_EQ(server::Crypto::Sha1Base64("nonce2026-01-01T00:00:00Zpw"),
            servertest::SoapClient::Digest("nonce", "2026-01-01T00:00:00Z", "pw"));
}

TEST(Crypto, Base64RoundTripAndMalformedInput) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  for (size_t n : {0u, 1u, 2u, 3u, 4u, 255u, 256u}) {
    std::string bytes = all.substr(0, n);
    std::string decoded;
    ASSERT_TRUE(server::Crypto::Base64Decode(server::Crypto::Base64Encode(bytes), decoded)) << n;
    EXPECT_EQ(decoded, bytes);
  }
  std::string out;
  EXPECT_TRUE(server::Crypto::Base64Decode("QU\r\nJD\n", out));
  EXPECT_EQ(out, "ABC");
  EXPECT_FALSE(server::Crypto::Base64Decode("QUJ", out));       // not a whole group
  EXPECT_FALSE(server::Crypto::Base64Decode("QU=D", out));      // data after fill
  EXPECT_FALSE(server::Crypto::Base64Decode("QUJD!", out));     // foreign byte
  EXPECT_FALSE(server::Crypto::Base64Decode("Q===", out));      // too much fill
  EXPECT_FALSE(server::Crypto::Base64Decode("QR==", out));      // stray bits
}

TEST(Timestamp, ParsesUtcOffsetsAndRefusesNonDates) {
  int64_t t = 0;
  ASSERT_TRUE(server::Timestamp::Parse("1970-01-01T00:00:00Z", t));
  EXPECT_EQ(t, 0);
  ASSERT_TRUE(server::Timestamp::Parse("2024-02-29T12:00:00+0100", t));
  int64_t utc = 0;
  ASSERT_TRUE(server::Timestamp::Parse("2024-02-29T11:00:00Z", utc));
  EXPECT_EQ(t, utc);
  ASSERT_TRUE(server::Timestamp::Parse("2024-02-29T06:30:00-0430", t));
  EXPECT_EQ(t, utc);
  EXPECT_EQ(server::Timestamp::FormatUtc(utc), "2024-02-29T11:00:00Z");
  for (const char* bad : {"2023-02-29T00:00:00Z", "2024-13-01T00:00:00Z", "2024-01-01T24:00:00Z",
                          "2024-01-01 00:00:00Z", "2024-01-01T00:00:00X", "2024-01-01T00:00:00+01:00",
                          "2024-1-01T00:00:00Z", "yesterday", ""}) {
    EXPECT_FALSE(server::Timestamp::Parse(bad, t)) << bad;
  }
}

TEST(AnswerWriter, EscapesMarkupAndCarriageReturnAndNeverWritesMsOnSuccess) {
  server::AnswerWriter out("GC", "h");
  out.Text("TI", "a<b>&\"c'\t\n\r<MS>");
  std::string xml = out.Finish();
  EXPECT_NE(xml.find("<TI>a&lt;b&gt;&amp;\"c'\t\n&#xD;&lt;MS&gt;</TI>"), std::string::npos);
  EXPECT_EQ(xml.find("<MS"), std::string::npos);
  EXPECT_NE(xml.find("<GCResponse xmlns=\"http://h/ws\"><GCResult>"), std::string::npos);
  std::string error = server::AnswerWriter::Error("DP", "h", server::kNoDeletePicture);
  EXPECT_EQ(servertest::Message(error), "Error: You have not permission to delete a picture");
}

// Long texts are scanned 16 characters at a time: an entity must come out right
// wherever it falls, and every other byte, UTF-8 and NUL included, unchanged.
TEST(AnswerWriter, EscapesAtEveryPositionOfLongTexts) {
  const std::string specials = "&<>\r";
  for (size_t length : {1u, 15u, 16u, 17u, 33u, 70u}) {
    for (size_t at = 0; at < length; ++at) {
      for (char special : specials) {
        std::string text;
        for (size_t i = 0; i < length; ++i) text.push_back(i % 7 == 3 ? '\xC3' : static_cast<char>('a' + i % 26));
        text[at] = special;
        if (at + 1 < length) text[at + 1] = '\0';
        std::string want;
        for (char c : text) {
          want += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '\r' ? "&#xD;" : std::string(1, c);
        }
        std::string got = "x";
        server::AnswerWriter::AppendEscaped(got, text);
        ASSERT_EQ(got, "x" + want) << "length " << length << " at " << at;
      }
    }
  }
}

TEST(ServiceMessages, RefusalTextsAreTheOnesClientsKnow) {
  EXPECT_EQ(server::ServiceMessages::Text(server::kInvalidVersion), "Error: Invalid Version");
  EXPECT_EQ(server::ServiceMessages::Text(server::kNoDeleteComment),
            "Error: You have not permission to delete a comment");
  EXPECT_EQ(server::ServiceMessages::Text(server::kRemoteBlogFailed),
            "Error: A connection to your blog could not be made so the photo is not posted");
  for (int code = 8000; code <= 8023; ++code) {
    EXPECT_EQ(server::ServiceMessages::Text(code).substr(0, 7), "Error: ") << code;
  }
}

TEST(TextRules, EmailBlogUrlAndControlCharacters) {
  EXPECT_TRUE(server::TextRules::IsEmail("a.b+c@example.com"));
  for (const char* bad : {"a@b", "@example.com", "a@@example.com", "a b@example.com", "a<b@example.com",
                          "a@example.", "a@.com", "ab"}) {
    EXPECT_FALSE(server::TextRules::IsEmail(bad)) << bad;
  }
  EXPECT_TRUE(server::TextRules::IsBlogUrl("my-blog_2"));
  EXPECT_FALSE(server::TextRules::IsBlogUrl(""));
  EXPECT_FALSE(server::TextRules::IsBlogUrl("../x"));
  EXPECT_FALSE(server::TextRules::IsBlogUrl(std::string(32, 'a')));
  EXPECT_EQ(server::TextRules::Check("tab\tand\r\nlines", 100), server::kOk);
  EXPECT_EQ(server::TextRules::Check(std::string("nul\0", 4), 100), server::kInvalidRequest);
  EXPECT_EQ(server::TextRules::Check("toolong", 3), server::kTextTooLong);
}

TEST(Images, RenditionsShrinkKeepProportionsAndNeverEnlarge) {
  std::string jpeg = servertest::MakeJpeg(800, 600);
  int w = 0, h = 0;
  ASSERT_TRUE(server::JpegCodec::ReadSize(jpeg, w, h));
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  server::RgbImage image;
  ASSERT_TRUE(server::JpegCodec::Decode(jpeg, 96, image));
  EXPECT_GE(std::max(image.width, image.height), 96);
  server::RgbImage small = server::ImageScaler::FitLongestSide(image, 96);
  EXPECT_EQ(small.width, 96);
  EXPECT_EQ(small.height, 72);
  server::RgbImage same = server::ImageScaler::FitLongestSide(small, 480);
  EXPECT_EQ(same.width, 96);
  EXPECT_EQ(same.pixels, small.pixels);
}

TEST(Images, TruncatedOrForeignDataIsNotAPhoto) {
  std::string jpeg = servertest::MakeJpeg(200, 100);
  server::RgbImage image;
  EXPECT_FALSE(server::JpegCodec::Decode(jpeg.substr(0, jpeg.size() / 2), 0, image));
  EXPECT_FALSE(server::JpegCodec::Decode("GIF89a....", 0, image));
  EXPECT_FALSE(server::JpegCodec::Decode(std::string("\xFF\xD8\xFF\xE0", 4), 0, image));
  EXPECT_TRUE(server::JpegCodec::Decode(jpeg, 0, image));
  EXPECT_EQ(image.width, 200);
}

}  // namespace
