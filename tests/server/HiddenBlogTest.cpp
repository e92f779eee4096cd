// Hidden blogs: only the owner, members and accounts that gave the view password
// may do anything there; everyone else gets the answer "GC" gives them.
#include "tests/server/ServiceTest.h"

#include <sstream>

#include "server/AdminCommands.h"

namespace servertest {
namespace {

const char* kProtected = "Error: The Blog is password protected";

class HiddenBlogTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    entry = AddEntry(*owner, "secret", "private");
    comment = ElementText(owner->Call("AO", "secret", Comment(entry, "by the owner")), "OI");
    std::ostringstream out, err;
    server::AdminCommands admin(harness->DataDir(), out, err);
    ASSERT_EQ(admin.AddRemoteBlog("other@example.com", "elsewhere"), 0);
  }

  static std::string Comment(const std::string& id, const std::string& text) {
    return "<OM><ID>" + id + "</ID><OD>2026-03-02T08:00:00Z</OD><OT>" + text + "</OT></OM>";
  }

  std::string entry;
  std::string comment;
};

TEST_F(HiddenBlogTest, OutsidersGetTheChangeListAnswerForEveryOperation) {
  std::string photo = SoapClient::Base64(SmallJpeg());
  std::vector<std::pair<std::string, std::string>> requests = {
      {"AO", Comment(entry, "hello")},
      {"AO", Comment("999", "hello")},
      {"EO", "<OM><OI>" + comment + "</OI><ID>" + entry + "</ID><OD>2026-03-02T08:00:00Z</OD><OT>x</OT></OM>"},
      {"DCO", "<OM><OI>" + comment + "</OI></OM>"},
      {"DCO", "<OM><OI>999</OI></OM>"},
      {"PhotoEMail", "<CI>0</CI><ID>" + entry + "</ID><RS><RP>a@example.org</RP></RS><MG />"},
      {"RemoteBlog", "<CI>0</CI><ID>" + entry + "</ID><RB>elsewhere</RB><TI /><CP />"},
      {"AP", Entry(0, 0, "t", photo)},
      {"EP", Entry(std::stoi(entry), 0, "t", "")},
      {"DP", "<PI><ID>" + entry + "</ID></PI>"},
      {"AC", "<CA><NM>c</NM></CA>"},
      {"DC", "<CA><CI>1</CI></CA>"},
      {"EB", "<BL><BT>t</BT><ST /><VI>normal</VI></BL>"},
  };
  for (const auto& [op, payload] : requests) {
    EXPECT_EQ(Message(other->Call(op, "secret", payload)), kProtected) << op << " " << payload;
  }
  EXPECT_EQ(AllTexts(FullChanges(*owner, "secret"), "OT"), std::vector<std::string>{"by the owner"});
  EXPECT_EQ(harness->PhotoFileCount(), 3u);
}

TEST_F(HiddenBlogTest, AccountsThatGaveTheViewPasswordMayCommentUntilItChanges) {
  ASSERT_EQ(Message(FullChanges(*other, "secret", other->ViewPassword("peek"))), "");
  std::string xml = other->Call("AO", "secret", Comment(entry, "let me in"));
  EXPECT_EQ(Message(xml), "");
  EXPECT_EQ(Message(other->Call("PhotoEMail", "secret", "<CI>0</CI><ID /><RS><RP>a@example.org</RP></RS><MG />")),
            "");
  // Rights inside the blog stay as they are for any signed-in user.
  EXPECT_EQ(Message(other->Call("DCO", "secret", "<OM><OI>" + comment + "</OI></OM>")),
            "Error: You have not permission to delete a comment");

  std::ostringstream out, err;
  server::AdminCommands admin(harness->DataDir(), out, err);
  ASSERT_EQ(admin.SetViewPassword("secret", "changed"), 0) << err.str();
  EXPECT_EQ(Message(other->Call("DCO", "secret", "<OM><OI>" + ElementText(xml, "OI") + "</OI></OM>")), kProtected);
  EXPECT_EQ(Message(FullChanges(*other, "secret", other->ViewPassword("peek"))), "Error: Enter valid viewer password");
  EXPECT_EQ(Message(FullChanges(*other, "secret", other->ViewPassword("changed"))), "");
  EXPECT_EQ(Message(other->Call("DCO", "secret", "<OM><OI>" + ElementText(xml, "OI") + "</OI></OM>")), "");
}

TEST_F(HiddenBlogTest, ViewPasswordBlockCannotBeReplayed) {
  std::string block = other->ViewPassword("peek");
  EXPECT_EQ(Message(FullChanges(*other, "secret", block)), "");
  EXPECT_EQ(Message(FullChanges(*other, "secret", block)), "Error: Enter valid viewer password");
  EXPECT_EQ(Message(FullChanges(*member, "secret", block)), "Error: Enter valid viewer password");
  // A refused change list still spends its block.
  std::string refused = other->ViewPassword("peek");
  EXPECT_EQ(Message(other->Call("GC", "secret", "<TS>2099-01-01T00:00:00Z</TS>" + refused + "<MX />")),
            "Error: Invalid timestamp");
  EXPECT_EQ(Message(FullChanges(*other, "secret", refused)), "Error: Enter valid viewer password");
}

}  // namespace
}  // namespace servertest
