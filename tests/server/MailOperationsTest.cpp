// "PhotoEMail" and "RemoteBlog".
#include "tests/server/ServiceTest.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "server/AdminCommands.h"

namespace servertest {
namespace {

class MailOperationsTest : public ServiceTest {
 protected:
  std::string ReadMail(int id) {
    std::ifstream in(harness->DataDir() / "outbox" / (std::to_string(id) + ".eml"), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
};

TEST_F(MailOperationsTest, PhotoMailIsRecordedAndWrittenAsAMessage) {
  std::string entry = AddEntry(*owner, "mine", "e");
  std::string xml = owner->Call("PhotoEMail", "mine",
                                "<CI>0</CI><ID>" + entry +
                                    "</ID><RS><RP>a@example.org</RP><RP> b@example.org </RP></RS>"
                                    "<MG>Look &amp; see\nline two</MG>");
  EXPECT_EQ(Message(xml), "");
  std::string mail = ReadMail(1);
  EXPECT_NE(mail.find("From: owner@example.com\r\n"), std::string::npos) << mail;
  EXPECT_NE(mail.find("To: a@example.org, b@example.org\r\n"), std::string::npos);
  EXPECT_NE(mail.find("\r\n\r\nLook & see\r\nline two\r\n"), std::string::npos);
  EXPECT_NE(mail.find("http://" + harness->PublicHost() + "/mine/?preview=" + entry), std::string::npos);
  // Without an entry the mail links to the blog.
  EXPECT_EQ(Message(owner->Call("PhotoEMail", "mine", "<CI>0</CI><ID /><RS><RP>c@example.org</RP></RS><MG></MG>")),
            "");
  EXPECT_NE(ReadMail(2).find("http://" + harness->PublicHost() + "/mine\r\n"), std::string::npos);
}

TEST_F(MailOperationsTest, PhotoMailRefusesBadRecipientsAndMissingEntries) {
  const char* kBad = "Error: Invalid recipient address";
  EXPECT_EQ(Message(owner->Call("PhotoEMail", "mine", "<CI>0</CI><ID /><RS></RS><MG>m</MG>")), kBad);
  EXPECT_EQ(Message(owner->Call("PhotoEMail", "mine", "<CI>0</CI><ID /><RS><RP>nobody</RP></RS><MG>m</MG>")), kBad);
  // A line break inside an address would let it add mail headers.
  EXPECT_EQ(Message(owner->Call("PhotoEMail", "mine",
                                "<CI>0</CI><ID /><RS><RP>a@example.org&#xA;Bcc: x@example.org</RP></RS><MG /> ")),
            kBad);
  EXPECT_EQ(Message(owner->Call("PhotoEMail", "mine", "<CI>0</CI><ID>999</ID><RS><RP>a@example.org</RP></RS>")),
            "Error: This picture is deleted or doesn't exist");
  EXPECT_EQ(Message(other->Call("PhotoEMail", "secret", "<CI>0</CI><ID /><RS><RP>a@example.org</RP></RS>")),
            "Error: The Blog is password protected");
  EXPECT_FALSE(std::filesystem::exists(harness->DataDir() / "outbox" / "1.eml"));
}

TEST_F(MailOperationsTest, RemotePostOnlyToTheUsersOwnRemoteBlogs) {
  std::ostringstream out, err;
  server::AdminCommands admin(harness->DataDir(), out, err);
  ASSERT_EQ(admin.AddRemoteBlog("owner@example.com", "elsewhere"), 0);
  std::string entry = AddEntry(*owner, "mine", "e");
  std::string post = "<CI>0</CI><ID>" + entry + "</ID><RB>elsewhere</RB><TI>t</TI><CP>c</CP>";
  EXPECT_EQ(Message(owner->Call("RemoteBlog", "mine", post)), "");
  EXPECT_EQ(Message(other->Call("RemoteBlog", "mine", post)),
            "Error: A connection to your blog could not be made so the photo is not posted");
  EXPECT_EQ(Message(owner->Call("RemoteBlog", "mine", "<CI>0</CI><ID /><RB>unknown</RB><TI /><CP />")),
            "Error: A connection to your blog could not be made so the photo is not posted");
  EXPECT_EQ(Message(owner->Call("RemoteBlog", "mine", "<CI>0</CI><ID>999</ID><RB>elsewhere</RB><TI /><CP />")),
            "Error: This picture is deleted or doesn't exist");
}

}  // namespace
}  // namespace servertest
