#include <gtest/gtest.h>

#include "platform/Preferences.h"
#include "platform/TimeValue.h"
#include "service/VersionCheck.h"
#include "tests/service/ServiceFixture.h"

namespace servicetest {
namespace {

using service::VersionCheck;

TEST(VersionKey, FillsMissingPartsSoThatPreReleasesSortFirst) {
  EXPECT_EQ(VersionCheck::Key("2.1"), "210f9");
  EXPECT_EQ(VersionCheck::Key("2.1b3"), "210b3");
  EXPECT_EQ(VersionCheck::Key("2.15"), "215f9");
  EXPECT_EQ(VersionCheck::Key("2.15a"), "215a9");
  EXPECT_EQ(VersionCheck::Key(""), "000f9");
  EXPECT_EQ(VersionCheck::Key("3"), "300f9");
  EXPECT_TRUE(VersionCheck::IsOlder("2.1b3", "2.1"));
  EXPECT_TRUE(VersionCheck::IsOlder("2.1", "2.15"));
  EXPECT_TRUE(VersionCheck::IsOlder("2.0", "2.1b3"));
  EXPECT_FALSE(VersionCheck::IsOlder("2.1", "2.1"));
}

class CheckVersionTest : public ServiceTest {
 protected:
  CheckVersionTest() {
    platform::CreatePreferenceKeys();
    VersionCheck::SetProgramVersion("2.0");
    platform::WriteLastIgnoredVersion("1.0");
  }
  ~CheckVersionTest() override { VersionCheck::SetProgramVersion(kShipped); }

  void PublishMessages(const std::string& text) { server_.EnqueueOk(text, "text/plain"); }
  bool Check(bool explicitCheck, bool& newer) {
    return service_->CheckVersion(explicitCheck, newer, &ServiceTest::Callback, this);
  }

  const std::string kShipped = VersionCheck::ProgramVersion();
};

TEST_F(CheckVersionTest, AnIgnoredVersionAndItsPreReleasesAreNotOfferedButALaterOneIs) {
  platform::WriteLastIgnoredVersion("2.1");
  bool newer = true;
  for (const char* quiet : {"2.1", "2.1b3"}) {
    platform::WriteLastMessageCheck(0);
    PublishMessages(std::string("<VERS>") + quiet + "</VERS>");
    EXPECT_FALSE(Check(false, newer)) << quiet;
    EXPECT_FALSE(newer) << quiet;
  }
  platform::WriteLastMessageCheck(0);
  PublishMessages("<VERS>2.2</VERS>");
  ui_.ExpectNewVersion("2.2", model::NewVersionChoice{true, false});
  EXPECT_FALSE(Check(false, newer));
  EXPECT_TRUE(newer);
  EXPECT_EQ(platform::ReadLastIgnoredVersion(), "2.2");
  EXPECT_TRUE(ui_.Done());
}

TEST_F(CheckVersionTest, ChoosingToDownloadStopsTheSync) {
  PublishMessages("<VERS>2.2</VERS><NOTE><N>9</N><M>Not shown</M></NOTE>");
  ui_.ExpectNewVersion("2.2", model::NewVersionChoice{false, true});
  bool newer = false;
  EXPECT_TRUE(Check(false, newer));
  EXPECT_TRUE(newer);
  EXPECT_EQ(platform::ReadLastMessageNumber(), 0u);
}

TEST_F(CheckVersionTest, NotesAreShownOnceInFileOrderAndTheHighestIsKept) {
  platform::WriteLastMessageNumber(4);
  PublishMessages(
      "<VERS>2.0</VERS><NOTE><N>5</N><M>Five &amp; more</M><A>x</A></NOTE>"
      "<NOTE><N>3</N><M>Three</M></NOTE><NOTE><M>No number</M></NOTE><NOTE><N>7</N><M>Seven</M></NOTE>"
      "<NOTE><N>6</N><A>only extra</A><M>Six</M></NOTE>");
  ui_.ExpectMessage("Five & more", model::MessageIcon::Information)
      .ExpectMessage("Seven", model::MessageIcon::Information)
      .ExpectMessage("Six", model::MessageIcon::Information);
  bool newer = true;
  EXPECT_FALSE(Check(false, newer));
  EXPECT_FALSE(newer);
  EXPECT_TRUE(ui_.Done());
  EXPECT_EQ(platform::ReadLastMessageNumber(), 7u);
  EXPECT_NE(platform::ReadLastMessageCheck(), 0u);

  // Within the day the file is not read again.
  EXPECT_FALSE(Check(false, newer));
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(CheckVersionTest, AFailedReadIsRetriedAtTheNextSync) {
  server_.EnqueueRaw("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  bool newer = true;
  EXPECT_FALSE(Check(false, newer));
  EXPECT_FALSE(newer);
  EXPECT_EQ(platform::ReadLastMessageCheck(), 0u);
  PublishMessages("<VERS>2.0</VERS>");
  EXPECT_FALSE(Check(false, newer));
  EXPECT_EQ(server_.Requests().size(), 2u);
  EXPECT_NE(platform::ReadLastMessageCheck(), 0u);
  EXPECT_NE(server_.Requests()[0].find("GET /Downloads/messages/wms/Tessary.txt "), std::string::npos);
}

TEST_F(CheckVersionTest, AnExplicitCheckReadsTheFileButNeitherShowsNotesNorCountsAsTheDailyCheck) {
  platform::WriteLastMessageCheck(platform::Now());
  PublishMessages("<VERS>2.0</VERS><NOTE><N>1</N><M>Hello</M></NOTE>");
  bool newer = true;
  EXPECT_TRUE(Check(true, newer));
  EXPECT_FALSE(newer);
  EXPECT_EQ(platform::ReadLastMessageNumber(), 0u);
  EXPECT_EQ(StageReports(8), 1);
}

TEST_F(ServiceTest, ChannelsAreReadFromTheirElementWithinTheBuffer) {
  server_.EnqueueOk("junk<CHAN>alice Alice &amp; her camera\r\nbob\n</CHAN>", "text/plain");
  std::string channels = "unchanged";
  EXPECT_EQ(service_->GetChannels(channels, 30720, &ServiceTest::Callback, this), 0u);
  EXPECT_EQ(channels, "alice Alice & her camera\r\nbob\n");
  EXPECT_EQ(StageReports(10), 1);

  server_.EnqueueOk("<CHAN>abcdefghij</CHAN>", "text/plain");
  EXPECT_EQ(service_->GetChannels(channels, 5, &ServiceTest::Callback, this), 0u);
  EXPECT_EQ(channels, "abcd");

  server_.EnqueueRaw("HTTP/1.1 500 Oops\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  EXPECT_NE(service_->GetChannels(channels, 30720, &ServiceTest::Callback, this), 0u);
  EXPECT_EQ(channels, "abcd");
}

}  // namespace
}  // namespace servicetest
