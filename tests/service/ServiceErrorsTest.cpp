#include "service/ServiceErrors.h"

#include <gtest/gtest.h>

#include "model/BlogEntry.h"
#include "model/CWinBlogEntry.h"
#include "service/PhotoUrl.h"
#include "service/ServiceSettings.h"

namespace {

using service::ServiceErrors;

TEST(ServiceErrorsTest, ServerTextsGiveTheirPlaceInTheList) {
  EXPECT_EQ(ServiceErrors::CodeOfServerText("Error: Invalid Version"), 8000u);
  EXPECT_EQ(ServiceErrors::CodeOfServerText("ERROR: INVALID AUTHENTICATION"), 8001u);
  EXPECT_EQ(ServiceErrors::CodeOfServerText(""), 8024u);
  EXPECT_EQ(ServiceErrors::CodeOfServerText(
                "Error: A connection to your blog could not be made so the photo is not posted"),
            8025u);
  EXPECT_EQ(ServiceErrors::CodeOfServerText("Error: Invalid Version "), 65535u);
  EXPECT_EQ(ServiceErrors::CodeOfServerText("Something else"), 65535u);
}

TEST(ServiceErrorsTest, MessagesForCodes) {
  EXPECT_EQ(ServiceErrors::GetErrorText(8024),
            "Your photos were not uploaded because this group blog has reached its photo limit");
  EXPECT_EQ(ServiceErrors::GetErrorText(8007), "");
  EXPECT_EQ(ServiceErrors::GetErrorText(8009), "");
  EXPECT_EQ(ServiceErrors::GetErrorText(65535), "An unknown error occurred (65535).");
  EXPECT_EQ(ServiceErrors::GetErrorText(8025), "An unknown error occurred (8025).");
  EXPECT_EQ(ServiceErrors::GetErrorText(static_cast<uint32_t>(-234)), "Progressive JPEGs not supported");
  EXPECT_EQ(ServiceErrors::GetErrorText(8), "There's insufficent memory to complete the request.");
  EXPECT_EQ(ServiceErrors::GetErrorText(14), "There's insufficent memory to complete the request.");
  EXPECT_EQ(ServiceErrors::GetErrorText(11000),
            "Photos for one or more Pending items could not be found and were not");
  EXPECT_EQ(ServiceErrors::GetErrorText(static_cast<uint32_t>(-10300)), "An unknown error occurred (-10300).");
}

TEST(PhotoUrlTest, SizeCodesChooseTheirAddress) {
  model::CWinBlogEntry entry;
  entry.SetThumbnailUrl("http://h:81/t/1.jpg");
  entry.SetPhotoUrl("http://h:81/p/1.jpg");
  entry.SetFullSizeUrl("http://h:81/o/1.jpg");
  struct Case {
    uint8_t code;
    std::string url;
    uint8_t after;
  } cases[] = {
      {1, "http://h:81/t/1.jpg", 1},
      {2, "http://h:81/si.aspx?img=p/1.jpg&ld=176&q=80", 2},
      {3, "http://h:81/si.aspx?img=p/1.jpg&ld=240&q=85", 3},
      {4, "http://h:81/si.aspx?img=p/1.jpg&ld=320&q=90", 4},
      {5, "http://h:81/p/1.jpg", 5},
      {6, "http://h:81/si.aspx?img=o/1.jpg&ld=640&q=90", 6},
      {7, "http://h:81/o/1.jpg", 7},
      {12, "http://h:81/o/1.jpg", 7},
  };
  for (const Case& c : cases) {
    uint8_t code = c.code;
    EXPECT_EQ(service::PhotoUrl::Choose(entry, code), c.url) << int(c.code);
    EXPECT_EQ(code, c.after);
  }
  entry.SetThumbnailUrl("");
  entry.SetPhotoUrl("");
  uint8_t code = 1;
  EXPECT_EQ(service::PhotoUrl::Choose(entry, code), "http://h:81/si.aspx?img=o/1.jpg&ld=0&q=0");
  code = 5;
  EXPECT_EQ(service::PhotoUrl::Choose(entry, code), "http://h:81/si.aspx?img=o/1.jpg&ld=0&q=0");
  entry.SetFullSizeUrl("");
  code = 6;
  EXPECT_EQ(service::PhotoUrl::Choose(entry, code), "");
  EXPECT_EQ(code, 7);

  std::string host;
  std::string path;
  EXPECT_TRUE(service::PhotoUrl::Split("http://h:8080/a/b.jpg", host, path));
  EXPECT_EQ(host, "h:8080");
  EXPECT_EQ(path, "/a/b.jpg");
  EXPECT_FALSE(service::PhotoUrl::Split("http://h", host, path));
}

TEST(ServiceSettingsTest, HostAndPortFromTheCommandLine) {
  service::ServiceSettings s;
  EXPECT_EQ(s.Authority(), "localhost:8080");
  EXPECT_TRUE(s.Parse("photos.example.org"));
  EXPECT_EQ(s.port, 80);
  EXPECT_EQ(s.Authority(), "photos.example.org");
  EXPECT_EQ(s.numericAddress, "");
  EXPECT_TRUE(s.Parse("10.1.2.3:9000"));
  EXPECT_EQ(s.numericAddress, "10.1.2.3");
  EXPECT_EQ(s.Authority(), "10.1.2.3:9000");
  for (const char* bad : {"", ":80", "h:", "h:0", "h:65536", "h:12a", "a b", "h/x:80"}) {
    EXPECT_FALSE(s.Parse(bad)) << bad;
  }
  EXPECT_EQ(s.Authority(), "10.1.2.3:9000");
}

}  // namespace
