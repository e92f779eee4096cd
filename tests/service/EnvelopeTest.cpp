#include <gtest/gtest.h>

#include <regex>

#include "tests/service/ServiceFixture.h"

namespace servicetest {
namespace {

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  const size_t a = text.find(open);
  if (a == std::string::npos) return std::string();
  const size_t b = text.find(close, a + open.size());
  return text.substr(a + open.size(), b - a - open.size());
}

TEST_F(ServiceTest, AccountCheckSendsTheWholeRequestByteForByte) {
  server_.EnqueueOk(Answer("GU", "<UI>7</UI><AT>pro</AT><QT>500</QT><SL></SL><RR><RB>wp &amp; co</RB></RR>"));
  EXPECT_EQ(service_->CheckAccount(&ServiceTest::Callback, this), 0u);

  const std::string body =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
      "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><GU "
      "xmlns=\"http://127.0.0.1/ws\"><RQ><GU><RQ><V>3</V>" +
      Auth(false) + "</RQ></GU></RQ></GU></soap:Body></soap:Envelope>\r\n";
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0],
            "POST /ws/ HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server_.Port()) +
                "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
                std::to_string(body.size()) +
                "\r\nUser-Agent: WinCE-Smartphone tests_service 1.0\r\n"
                "SOAPAction: \"http://127.0.0.1/ws/GU\"\r\n\r\n" + body);
  EXPECT_EQ(user_.GetProAccount(), 1);
  EXPECT_EQ(user_.GetQuota(), 500u);
  EXPECT_EQ(user_.RemoteBlogs(), std::vector<std::u16string>{u"wp & co"});
  EXPECT_EQ(StageReports(0), 1);
}

TEST_F(ServiceTest, ChangeRequestOnFirstDownloadAndWithTimestampAndViewPassword) {
  service_->SetAccount("me@example.com", "", kUserId, "myblog", "");
  service_->SetSyncTimestamp(0);
  server_.EnqueueOk(Answer("GC", ""));
  std::unique_ptr<net::HttpResponse> response;
  EXPECT_EQ(service_->RequestChanges(response), 0u);
  EXPECT_EQ(Elements(0), "<AU /><BI>myblog</BI><TS /><VP /><MX>25</MX>");

  service_->SetAccount("me@example.com", "secret", kUserId, "myblog", "pw");
  service_->SetSyncTimestamp(Time(2026, 1, 2, 3, 4, 5));
  server_.EnqueueOk(Answer("GC", ""));
  EXPECT_EQ(service_->RequestChanges(response), 0u);
  EXPECT_EQ(Elements(1), Auth(true) + "<TS>2026-01-02T03:04:05Z</TS><VP><DI>" +
                             Digest("abcdefghijklmnopqrstuvwxyz01234" "2026-03-04T05:06:07Z" "pw") +
                             "</DI><CR>2026-03-04T05:06:07Z</CR><NO>abcdefghijklmnopqrstuvwxyz01234</NO>"
                             "</VP><MX />");

  blog_->GetBlogInfo()->limitEntries = false;
  service_->SetSyncTimestamp(0);
  server_.EnqueueOk(Answer("GC", ""));
  EXPECT_EQ(service_->RequestChanges(response), 0u);
  EXPECT_NE(Elements(2).find("<TS /><VP><DI>"), std::string::npos);
  EXPECT_NE(Elements(2).find("</VP><MX />"), std::string::npos);
}

TEST_F(ServiceTest, UserNameAndBlogNameCannotBreakTheXml) {
  service_->SetAccount("a<b>&\"c", "secret", kUserId, "my&blog", "");
  server_.EnqueueOk(Answer("DP", ""));
  model::CWinBlogEntry entry;
  entry.SetId(5);
  EXPECT_EQ(service_->DeleteEntry(entry), 0u);
  const std::string elements = Elements(0);
  EXPECT_EQ(Between(elements, "<UN>", "</UN>"), "a&lt;b&gt;&amp;&quot;c");
  EXPECT_EQ(Between(elements, "<BI>", "</BI>"), "my&amp;blog");
  // The digest is of the password as stored, not of any escaped text.
  EXPECT_EQ(Between(elements, "<DI>", "</DI>"),
            Digest("abcdefghijklmnopqrstuvwxyz01234" "2026-03-04T05:06:07Z" "secret"));
}

TEST(EnvelopeWithRealClock, EveryRequestHasItsOwnTokenAndAValidDigest) {
  testsupport::TempDeviceRoot root;
  testsupport::RawHttpServer server;
  net::Win32Http http;
  ASSERT_TRUE(http.Open());
  service::ServiceSettings settings;
  settings.host = "127.0.0.1";
  settings.port = server.Port();
  service::MorvaneBlogService client(http, settings);
  model::CWinBlogUser user;
  user.SetEmail("u@x.org");
  user.SetPassword("p4ss");
  client.SetUser(&user);
  for (int i = 0; i < 2; ++i) server.EnqueueOk("<GUResponse/>");
  EXPECT_EQ(client.CheckAccount(nullptr, nullptr), 0u);
  EXPECT_EQ(client.CheckAccount(nullptr, nullptr), 0u);
  http.Close();

  std::vector<std::string> tokens;
  for (const std::string& request : server.Requests()) {
    const std::string token = Between(request, "<NO>", "</NO>");
    const std::string created = Between(request, "<CR>", "</CR>");
    EXPECT_EQ(token.size(), 31u);
    EXPECT_TRUE(std::regex_match(token, std::regex("[A-Za-z0-9]{31}")));
    EXPECT_TRUE(std::regex_match(created, std::regex("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ")));
    EXPECT_EQ(Between(request, "<DI>", "</DI>"), Digest(token + created + "p4ss"));
    EXPECT_TRUE(request.ends_with("</soap:Body></soap:Envelope>\r\n"));
    tokens.push_back(token);
  }
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_NE(tokens[0], tokens[1]);
}

}  // namespace
}  // namespace servicetest
