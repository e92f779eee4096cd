// The plain HTTP side: photos, the resizer, published files, blog pages, the
// request size limit and uploads cut off mid-way.
#include "tests/server/ServiceTest.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "server/AdminCommands.h"
#include "server/JpegCodec.h"
#include "server/PublishedFileStore.h"

namespace servertest {
namespace {

class HttpRoutesTest : public ServiceTest {
 protected:
  httplib::Result Get(const std::string& path) {
    httplib::Client client("127.0.0.1", harness->Port());
    return client.Get(path.c_str());
  }
  // The photo path of the newest entry's full-size URL, as the resizer takes it.
  std::string PhotoPath(const std::string& xml) {
    std::string url = ElementText(xml, "OU");
    return url.substr(url.find("/photos/") + 1);
  }
};

TEST_F(HttpRoutesTest, ResizerShrinksToTheLongestSideAndNeverEnlarges) {
  std::string jpeg = MakeJpeg(640, 320, 3);
  std::string xml = owner->Call("AP", "mine", Entry(0, 0, "p", SoapClient::Base64(jpeg)));
  std::string img = PhotoPath(xml);
  int w = 0, h = 0;
  auto resized = Get("/si.aspx?img=" + img + "&ld=176&q=80");
  ASSERT_TRUE(resized && resized->status == 200);
  EXPECT_EQ(resized->get_header_value("Content-Type"), "image/jpeg");
  ASSERT_TRUE(server::JpegCodec::ReadSize(resized->body, w, h));
  EXPECT_EQ(w, 176);
  EXPECT_EQ(h, 88);
  auto fallback = Get("/si.aspx?img=" + img + "&ld=0&q=0");
  ASSERT_TRUE(server::JpegCodec::ReadSize(fallback->body, w, h));
  EXPECT_EQ(w, 480);
  auto larger = Get("/si.aspx?img=" + img + "&ld=2000&q=90");
  EXPECT_EQ(larger->body, jpeg);
  for (const std::string& bad : std::vector<std::string>{"/si.aspx?img=photos/../service.db&ld=10&q=10", "/si.aspx?img=service.db&ld=10",
                                 "/si.aspx?img=photos/0000000000000000000a.jpg&ld=10", "/si.aspx?img=" + img + "&ld=-5",
                                 "/si.aspx?img=" + img + "&ld=10&q=101", "/photos/..%2Fservice.db",
                                 "/photos/service.db"}) {
    auto result = Get(bad);
    ASSERT_TRUE(result) << bad;
    EXPECT_NE(result->status, 200) << bad;
  }
}

TEST_F(HttpRoutesTest, PublishedFilesComeFromWhatWasSet) {
  EXPECT_EQ(Get("/Downloads/messages/wms/Tessary.txt")->status, 404);
  std::filesystem::path file = harness->DataDir() / "notes.txt";
  std::ofstream(file) << "<VERS>2.1</VERS><NOTE><N>5</N><M>Hello</M></NOTE>";
  std::ostringstream out, err;
  server::AdminCommands admin(harness->DataDir(), out, err);
  ASSERT_EQ(admin.SetPublishedFile(server::PublishedFileStore::kMessages, file), 0);
  ASSERT_EQ(admin.SetPublishedFile(server::PublishedFileStore::kChannels, file), 0);
  auto messages = Get("/Downloads/messages/wms/Tessary.txt");
  EXPECT_EQ(messages->status, 200);
  EXPECT_EQ(messages->body, "<VERS>2.1</VERS><NOTE><N>5</N><M>Hello</M></NOTE>");
  EXPECT_EQ(Get("/Downloads/messages/wms/TessaryChannels.txt")->body, messages->body);
  EXPECT_NE(admin.SetPublishedFile(server::PublishedFileStore::kMessages, harness->DataDir() / "missing"), 0);
}

TEST_F(HttpRoutesTest, BlogPagesAreEscapedAndHiddenBlogsClosed) {
  std::string cat = ElementText(owner->Call("AC", "mine", "<CA><NM>&lt;b&gt;cat</NM></CA>"), "CI");
  std::string id = AddEntry(*owner, "mine", "&lt;script&gt;alert(1)&lt;/script&gt;", std::stoi(cat));
  owner->Call("AO", "mine", "<OM><ID>" + id + "</ID><OD>2026-03-02T08:00:00Z</OD><OT>&lt;i&gt;hi</OT></OM>");
  auto page = Get("/mine");
  ASSERT_EQ(page->status, 200);
  EXPECT_EQ(page->body.find("<script>"), std::string::npos);
  EXPECT_NE(page->body.find("/mine/?preview=" + id), std::string::npos);
  auto preview = Get("/mine/?preview=" + id);
  EXPECT_EQ(preview->status, 200);
  EXPECT_NE(preview->body.find("&lt;script&gt;"), std::string::npos);
  EXPECT_NE(preview->body.find("&lt;i&gt;hi"), std::string::npos);
  auto categories = Get("/mine/?albumid=0");
  EXPECT_NE(categories->body.find("&lt;b&gt;cat"), std::string::npos);
  EXPECT_EQ(Get("/mine/?albumid=" + cat)->status, 200);
  EXPECT_EQ(Get("/mine/?albumid=999")->status, 404);
  EXPECT_EQ(Get("/mine/?preview=999")->status, 404);
  EXPECT_EQ(Get("/mine/?preview=abc")->status, 400);
  EXPECT_EQ(Get("/nosuchblog")->status, 404);
  EXPECT_EQ(Get("/secret")->status, 403);
}

TEST_F(HttpRoutesTest, HiddenBlogAsksForItsViewPasswordAndRemembersTheBrowser) {
  std::string id = AddEntry(*owner, "secret", "private");
  std::string key = ElementText(owner->Call("GC", "secret", "<TS /><VP /><MX />"), "OU");
  key = key.substr(key.rfind('/') + 1, 20);
  httplib::Client client("127.0.0.1", harness->Port());
  auto locked = client.Get(("/secret/?preview=" + id).c_str());
  ASSERT_TRUE(locked);
  EXPECT_EQ(locked->status, 403);
  EXPECT_NE(locked->body.find("<form method=\"post\" action=\"/secret/?preview=" + id + "\">"), std::string::npos);
  EXPECT_EQ(locked->body.find(key), std::string::npos);
  EXPECT_EQ(locked->body.find("private"), std::string::npos);

  auto wrong = client.Post(("/secret/?preview=" + id).c_str(), "password=nope", "application/x-www-form-urlencoded");
  EXPECT_EQ(wrong->status, 403);
  EXPECT_NE(wrong->body.find("Wrong password"), std::string::npos);
  EXPECT_FALSE(wrong->has_header("Set-Cookie"));

  auto right = client.Post(("/secret/?preview=" + id).c_str(), "password=peek", "application/x-www-form-urlencoded");
  EXPECT_EQ(right->status, 303);
  EXPECT_EQ(right->get_header_value("Location"), "/secret/?preview=" + id);
  std::string cookie = right->get_header_value("Set-Cookie");
  cookie = cookie.substr(0, cookie.find(';'));
  auto open = client.Get(("/secret/?preview=" + id).c_str(), {{"Cookie", cookie}});
  EXPECT_EQ(open->status, 200);
  EXPECT_NE(open->body.find(key + "_m.jpg"), std::string::npos);
  EXPECT_EQ(open->get_header_value("Cache-Control"), "private, no-store");
  std::string forged = cookie.substr(0, cookie.find('=') + 1) + std::string(64, 'a');
  EXPECT_EQ(client.Get("/secret", {{"Cookie", forged}})->status, 403);
}

TEST_F(HttpRoutesTest, BigBlogsShowFiftyEntriesAPageNewestFirst) {
  std::string cat = ElementText(owner->Call("AC", "mine", "<CA><NM>all</NM></CA>"), "CI");
  std::vector<std::string> ids;
  for (int i = 0; i < 51; ++i) ids.push_back(AddEntry(*owner, "mine", "e" + std::to_string(i), std::stoi(cat)));
  auto tiles = [](const std::string& html) {
    size_t count = 0;
    for (size_t at = html.find("<li><a"); at != std::string::npos; at = html.find("<li><a", at + 1)) ++count;
    return count;
  };
  for (const std::string& first : {std::string("/mine"), "/mine/?albumid=" + cat}) {
    auto page1 = Get(first);
    ASSERT_EQ(page1->status, 200) << first;
    EXPECT_EQ(tiles(page1->body), 50u) << first;
    EXPECT_NE(page1->body.find("?preview=" + ids.back() + "\""), std::string::npos);
    EXPECT_EQ(page1->body.find("?preview=" + ids.front() + "\""), std::string::npos);
    std::string second = first == "/mine" ? "/mine/?page=2" : first + "&page=2";
    std::string secondInHtml = first == "/mine" ? second : first + "&amp;page=2";
    EXPECT_NE(page1->body.find("rel=\"next\" href=\"http://" + harness->PublicHost() + secondInHtml + "\""),
              std::string::npos)
        << first;
    auto page2 = Get(second);
    ASSERT_EQ(page2->status, 200) << second;
    EXPECT_EQ(tiles(page2->body), 1u);
    EXPECT_NE(page2->body.find("?preview=" + ids.front() + "\""), std::string::npos);
    EXPECT_NE(page2->body.find("rel=\"prev\" href=\"http://" + harness->PublicHost() + first + "\""),
              std::string::npos);
    EXPECT_EQ(Get(first == "/mine" ? "/mine/?page=3" : first + "&page=3")->status, 404);
  }
  EXPECT_EQ(Get("/mine/?page=two")->status, 400);
  auto categories = Get("/mine/?albumid=0");
  EXPECT_NE(categories->body.find("all<span class=\"count\">51 photos</span>"), std::string::npos);
}

TEST_F(HttpRoutesTest, PhotosAndRenditionsAnswerConditionalRequests) {
  std::string xml = owner->Call("AP", "mine", Entry(0, 0, "p", SoapClient::Base64(MakeJpeg(640, 320, 3))));
  std::string full = ElementText(xml, "OU");
  const std::string rendition = "/si.aspx?img=" + PhotoPath(xml) + "&ld=176&q=80";
  for (const std::string& path : {full.substr(full.find("/photos/")), rendition}) {
    auto first = Get(path);
    ASSERT_EQ(first->status, 200) << path;
    std::string etag = first->get_header_value("ETag");
    std::string modified = first->get_header_value("Last-Modified");
    EXPECT_FALSE(etag.empty()) << path;
    EXPECT_FALSE(modified.empty()) << path;
    EXPECT_EQ(first->get_header_value("Cache-Control"), "max-age=86400");
    httplib::Client client("127.0.0.1", harness->Port());
    auto byTag = client.Get(path.c_str(), {{"If-None-Match", etag}});
    EXPECT_EQ(byTag->status, 304) << path;
    EXPECT_TRUE(byTag->body.empty());
    EXPECT_EQ(client.Get(path.c_str(), {{"If-Modified-Since", modified}})->status, 304) << path;
    auto changed = client.Get(path.c_str(), {{"If-None-Match", "\"other\""}, {"If-Modified-Since", modified}});
    EXPECT_EQ(changed->status, 200) << path;
  }
  auto other = Get("/si.aspx?img=" + PhotoPath(xml) + "&ld=240&q=80");
  EXPECT_NE(other->get_header_value("ETag"), Get(rendition)->get_header_value("ETag"));
}

TEST_F(HttpRoutesTest, PagesAnswerHeadAndUnknownAddressesGetAStyledPage) {
  AddEntry(*owner, "mine", "one");
  httplib::Client client("127.0.0.1", harness->Port());
  auto head = client.Head("/mine");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200);
  EXPECT_TRUE(head->body.empty());
  EXPECT_EQ(head->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(head->get_header_value("Content-Length"), std::to_string(Get("/mine")->body.size()));

  auto missing = Get("/no/such/page");
  EXPECT_EQ(missing->status, 404);
  EXPECT_EQ(missing->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_NE(missing->body.find("<link rel=\"stylesheet\" href=\"/tessary.css\">"), std::string::npos);
  EXPECT_NE(Get("/nosuchblog")->body.find("There is no blog of this name."), std::string::npos);

  auto css = Get("/tessary.css");
  EXPECT_EQ(css->status, 200);
  EXPECT_EQ(css->get_header_value("Content-Type"), "text/css; charset=utf-8");
  EXPECT_EQ(client.Get("/tessary.css", {{"If-None-Match", css->get_header_value("ETag")}})->status, 304);
}

TEST(HttpLimits, RequestsOverTheLimitAreRefusedUnread) {
  // The service's limit is 64 MB; a small one keeps the test fast.
  ServiceHarness small(256 * 1024);
  small.AddUser("u@example.com", "pw");
  small.AddBlog("b", "u@example.com");
  SoapClient client(small.Port(), "u@example.com", "pw");
  client.SetCreated(small.Now());
  std::string photo = SoapClient::Base64(MakeJpeg(64, 48));
  std::string fits = ServiceTest::Entry(0, 0, "fits", photo);
  EXPECT_EQ(Message(client.Call("AP", "b", fits)), "");
  std::string huge = ServiceTest::Entry(0, 0, "huge", photo + std::string(256 * 1024, ' '));
  int status = 0;
  client.Post("\"http://x/ws/AP\"", client.Envelope("AP", client.AuthBlock("big") + "<BI>b</BI>" + huge), &status);
  EXPECT_EQ(status, 413);
  EXPECT_EQ(small.PhotoFileCount(), 3u);
}

TEST_F(HttpRoutesTest, UploadCutOffMidwayLeavesNothingStored) {
  std::string body = owner->Envelope(
      "AP", owner->AuthBlock("cut") + "<BI>mine</BI>" + Entry(0, 0, "cut", SoapClient::Base64(MakeJpeg(320, 240))));
  std::string head = "POST /ws/ HTTP/1.0\r\nHost: x\r\nContent-Type: text/xml; charset=utf-8\r\nSOAPAction: "
                     "\"http://x/ws/AP\"\r\nContent-Length: " +
                     std::to_string(body.size()) + "\r\n\r\n";
  int sock = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(harness->Port()));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  std::string partial = head + body.substr(0, body.size() / 2);
  ASSERT_EQ(send(sock, partial.data(), partial.size(), 0), static_cast<ssize_t>(partial.size()));
  close(sock);
  // The service is still answering, and nothing of the cut request exists.
  EXPECT_EQ(Message(owner->Call("GU")), "");
  EXPECT_TRUE(AllTexts(FullChanges(*owner, "mine"), "ID").empty());
  EXPECT_EQ(harness->PhotoFileCount(), 0u);
  // The same request sent whole is stored.
  EXPECT_EQ(Message(owner->Post("\"http://x/ws/AP\"", body)), "");
  EXPECT_EQ(harness->PhotoFileCount(), 3u);
}

}  // namespace
}  // namespace servertest

namespace servertest {
namespace {

TEST_F(HttpRoutesTest, HealthUrlAnswersWhetherTheStoreCanBeUsed) {
  auto healthy = Get("/.healthz");
  ASSERT_TRUE(healthy);
  EXPECT_EQ(healthy->status, 200);
  EXPECT_EQ(healthy->body, "ok\n");
  // A data folder that has lost its photos (an unmounted disk, say) is not healthy.
  std::filesystem::rename(harness->DataDir() / "photos", harness->DataDir() / "photos-away");
  auto broken = Get("/.healthz");
  ASSERT_TRUE(broken);
  EXPECT_EQ(broken->status, 503);
  std::filesystem::rename(harness->DataDir() / "photos-away", harness->DataDir() / "photos");
}

}  // namespace
}  // namespace servertest
