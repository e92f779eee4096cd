#include "server/AccessLog.h"

#include <gtest/gtest.h>

#include <regex>

namespace servertest {
namespace {

httplib::Request Request(const std::string& method, const std::string& target) {
  httplib::Request req;
  req.method = method;
  req.target = target;
  req.version = "HTTP/1.1";
  req.remote_addr = "127.0.0.1";
  return req;
}

TEST(AccessLog, LinesAreInTheCombinedFormat) {
  httplib::Request req = Request("GET", "/mine/?page=2");
  req.headers.emplace("Referer", "http://x/mine");
  req.headers.emplace("User-Agent", "Browser/1.0");
  httplib::Response res;
  res.status = 200;
  res.body = "12345";
  const std::string line = server::AccessLog::Line(req, res, 0);
  const std::regex combined(
      R"(127\.0\.0\.1 - - \[01/Jan/1970:\d\d:\d\d:\d\d [+-]\d{4}\] "GET /mine/\?page=2 HTTP/1\.1" 200 5 "http://x/mine" "Browser/1\.0"\n)");
  EXPECT_TRUE(std::regex_match(line, combined)) << line;
}

TEST(AccessLog, ClientTextCannotForgeFieldsOrLines) {
  httplib::Request req = Request("GET", "/a\"b");
  req.headers.emplace("User-Agent", "x\" 200 1 \"\n127.0.0.1 - - forged");
  httplib::Response res;
  res.status = 404;
  const std::string line = server::AccessLog::Line(req, res, 0);
  EXPECT_NE(line.find(R"("GET /a\x22b HTTP/1.1" 404 - "-" "x\x22 200 1 \x22\x0A127.0.0.1 - - forged")"),
            std::string::npos)
      << line;
  EXPECT_EQ(line.find('\n'), line.size() - 1);
}

TEST(AccessLog, BodiesNotSentAreNotCounted) {
  httplib::Response res;
  res.status = 200;
  res.body = "page";
  EXPECT_NE(server::AccessLog::Line(Request("HEAD", "/mine"), res, 0).find("\" 200 - "), std::string::npos);
  res.status = 304;
  EXPECT_NE(server::AccessLog::Line(Request("GET", "/mine"), res, 0).find("\" 304 - "), std::string::npos);
}

}  // namespace
}  // namespace servertest
