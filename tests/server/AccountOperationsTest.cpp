// "GU", "EU", "CreateAccount", "CreateBlog".
#include "tests/server/ServiceTest.h"

#include <sstream>

#include "server/AdminCommands.h"

namespace servertest {
namespace {

class AccountOperationsTest : public ServiceTest {};

TEST_F(AccountOperationsTest, GetUserListsAccountSubscriptionsAndRemoteBlogsInOrder) {
  std::ostringstream out, err;
  server::AdminCommands admin(harness->DataDir(), out, err);
  ASSERT_EQ(admin.AddRemoteBlog("owner@example.com", "elsewhere & co"), 0);
  std::string xml = owner->Call("GU");
  EXPECT_EQ(Message(xml), "");
  size_t ui = xml.find("<UI>"), at = xml.find("<AT>"), qt = xml.find("<QT>"), sl = xml.find("<SL>"),
         rr = xml.find("<RR>");
  EXPECT_TRUE(ui < at && at < qt && qt < sl && sl < rr) << xml;
  EXPECT_EQ(ElementText(xml, "AT"), "free");
  EXPECT_EQ(ElementText(xml, "QT"), "100");
  EXPECT_EQ(AllTexts(xml, "SU"), (std::vector<std::string>{"mine", "club", "secret"}));
  EXPECT_EQ(AllTexts(xml, "RB"), std::vector<std::string>{"elsewhere &amp; co"});
  // The member got the group blog on their list; the other user has nothing.
  EXPECT_EQ(AllTexts(member->Call("GU"), "SU"), std::vector<std::string>{"club"});
  std::string empty = other->Call("GU");
  EXPECT_NE(empty.find("<SL></SL><RR></RR>"), std::string::npos) << empty;
}

TEST_F(AccountOperationsTest, EditUserReplacesTheListIgnoringUnknownNames) {
  std::string xml = other->Call("EU", "", "<EU><SL><SU>CLUB</SU><SU>ghost</SU><SU>mine</SU><SU>club</SU></SL></EU>");
  EXPECT_EQ(Message(xml), "");
  EXPECT_EQ(AllTexts(other->Call("GU"), "SU"), (std::vector<std::string>{"club", "mine"}));
  EXPECT_EQ(Message(other->Call("EU", "", "<EU><SL></SL></EU>")), "");
  EXPECT_TRUE(AllTexts(other->Call("GU"), "SU").empty());
}

TEST_F(AccountOperationsTest, CreateAccountThenLogInAndRefuseTheSameAddress) {
  auto anonymous = Client("", "");
  std::string xml = anonymous->Call("CreateAccount", "",
                                    "<EMail>new@example.com</EMail><Password>s3cret</Password>"
                                    "<FirstName>N&amp;w</FirstName><LastName>User</LastName>");
  EXPECT_EQ(xml.find("<MS"), std::string::npos) << xml;
  std::string gu = Client("new@example.com", "s3cret")->Call("GU");
  EXPECT_EQ(ElementText(gu, "AT"), "free");
  EXPECT_EQ(ElementText(gu, "UI"), ElementText(xml, "UI"));
  EXPECT_EQ(Message(anonymous->Call("CreateAccount", "",
                                    "<EMail>NEW@example.com</EMail><Password>x</Password>"
                                    "<FirstName /><LastName />")),
            "Error: Email already used");
}

TEST_F(AccountOperationsTest, CreateAccountRefusesInvalidInput) {
  auto anonymous = Client("", "");
  auto create = [&](const std::string& email, const std::string& password) {
    return Message(anonymous->Call("CreateAccount", "",
                                   "<EMail>" + email + "</EMail><Password>" + password +
                                       "</Password><FirstName>a</FirstName><LastName>b</LastName>"));
  };
  EXPECT_EQ(create("not-an-address", "pw"), "Error: Invalid email address");
  EXPECT_EQ(create("a@b.example", ""), "Error: Invalid password");
  EXPECT_EQ(create("a@b.example", std::string(64, 'p')), "Error: Invalid password");
  EXPECT_EQ(create("a@b.example", "pw"), "");
}

TEST_F(AccountOperationsTest, CreateBlogPutsItOnTheOwnersList) {
  std::string xml = other->Call("CreateBlog", "",
                                "<BlogURL>fresh</BlogURL><Title>T &lt;1&gt;</Title><Subtitle>S</Subtitle>"
                                "<Visibility>normal</Visibility>");
  EXPECT_EQ(xml.find("<MS"), std::string::npos) << xml;
  EXPECT_EQ(AllTexts(other->Call("GU"), "SU"), std::vector<std::string>{"fresh"});
  std::string gc = FullChanges(*other, "fresh");
  EXPECT_EQ(ElementText(gc, "BT"), "T &lt;1&gt;");
  EXPECT_EQ(ElementText(gc, "VI"), "normal");
  EXPECT_EQ(ElementText(gc, "WA"), "yes");
  EXPECT_EQ(ElementText(gc, "BO"), ElementText(other->Call("GU"), "UI"));
  // Without authentication nothing is created.
  EXPECT_EQ(Message(Client("", "")->Call("CreateBlog", "", "<BlogURL>anon</BlogURL>")),
            "Error: Invalid Authentication");
}

TEST_F(AccountOperationsTest, TakenBlogUrlOffersFourFreeAlternates) {
  harness->AddBlog("mine2", "other@example.com");
  std::string xml = other->Call("CreateBlog", "",
                                "<BlogURL>MINE</BlogURL><Title /><Subtitle /><Visibility>hidden</Visibility>");
  EXPECT_EQ(Message(xml), "Error: BlogURL already used");
  EXPECT_LT(xml.find("<MS>"), xml.find("<Alternates>"));
  EXPECT_EQ(AllTexts(xml, "Alternate"), (std::vector<std::string>{"MINE3", "MINE4", "MINE5", "MINE6"}));
  // Names the service's own paths use count as taken; a long name stays within 31 characters.
  EXPECT_EQ(Message(other->Call("CreateBlog", "", "<BlogURL>photos</BlogURL>")), "Error: BlogURL already used");
  std::string longName(31, 'x');
  harness->AddBlog(longName, "other@example.com");
  for (const std::string& alt : AllTexts(other->Call("CreateBlog", "", "<BlogURL>" + longName + "</BlogURL>"),
                                         "Alternate")) {
    EXPECT_LE(alt.size(), 31u);
  }
}

TEST_F(AccountOperationsTest, CreateBlogRefusesNamesThatAreNotPathSegments) {
  for (const char* name : {"", "a/b", "..", "with space", "0123456789012345678901234567890123"}) {
    EXPECT_EQ(Message(other->Call("CreateBlog", "", std::string("<BlogURL>") + name + "</BlogURL>")),
              "Error: Invalid BlogURL")
        << name;
  }
}

}  // namespace
}  // namespace servertest
