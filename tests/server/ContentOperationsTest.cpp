// Categories, entries and comments: what each role may do, and what a refusal says.
#include "tests/server/ServiceTest.h"

#include <httplib.h>

#include "server/JpegCodec.h"

namespace servertest {
namespace {

class ContentOperationsTest : public ServiceTest {
 protected:
  std::string Comment(SoapClient& client, const std::string& blog, const std::string& entry,
                      const std::string& text, std::string* answer = nullptr) {
    std::string xml =
        client.Call("AO", blog, "<OM><ID>" + entry + "</ID><OD>2026-03-02T08:00:00Z</OD><OT>" + text + "</OT></OM>");
    if (answer != nullptr) *answer = xml;
    return ElementText(xml, "OI");
  }

  std::string Fetch(const std::string& url) {
    std::string prefix = "http://" + harness->PublicHost();
    EXPECT_EQ(url.substr(0, prefix.size()), prefix);
    httplib::Client client("127.0.0.1", harness->Port());
    auto result = client.Get(url.substr(prefix.size()).c_str());
    return result && result->status == 200 ? result->body : std::string();
  }
};

TEST_F(ContentOperationsTest, CategoriesAreTheOwnersAndNamesAreUnique) {
  std::string xml = owner->Call("AC", "mine", "<CA><NM>Trips</NM></CA>");
  std::string id = ElementText(xml, "CI");
  ASSERT_FALSE(id.empty()) << xml;
  EXPECT_EQ(Message(owner->Call("AC", "mine", "<CA><NM>TRIPS</NM></CA>")), "Error: Category already used");
  EXPECT_EQ(Message(owner->Call("AC", "mine", "<CA><NM>  </NM></CA>")), "Error: Invalid category name");
  std::string second = ElementText(owner->Call("AC", "mine", "<CA><NM>Food</NM></CA>"), "CI");
  EXPECT_EQ(Message(owner->Call("EC", "mine", "<CA><CI>" + second + "</CI><NM>trips</NM></CA>")),
            "Error: Category already used");
  xml = owner->Call("EC", "mine", "<CA><CI>" + id + "</CI><NM>Journeys</NM></CA>");
  EXPECT_EQ(ElementText(xml, "CI"), id);
  EXPECT_EQ(AllTexts(FullChanges(*owner, "mine"), "NM"), (std::vector<std::string>{"Journeys", "Food"}));

  EXPECT_EQ(Message(member->Call("AC", "club", "<CA><NM>x</NM></CA>")),
            "Error: You have not permission to add a category");
  std::string clubCat = ElementText(owner->Call("AC", "club", "<CA><NM>c</NM></CA>"), "CI");
  EXPECT_EQ(Message(member->Call("EC", "club", "<CA><CI>" + clubCat + "</CI><NM>y</NM></CA>")),
            "Error: You have not permission to edit a category");
  EXPECT_EQ(Message(member->Call("DC", "club", "<CA><CI>" + clubCat + "</CI></CA>")),
            "Error: You have not permission to delete a category");
  // A category of another blog is not this blog's.
  EXPECT_EQ(Message(owner->Call("EC", "mine", "<CA><CI>" + clubCat + "</CI><NM>z</NM></CA>")),
            "Error: This category is deleted or doesn't exist");
}

TEST_F(ContentOperationsTest, DeletingACategoryTwiceSucceedsAndRefilesItsEntries) {
  std::string id = ElementText(owner->Call("AC", "mine", "<CA><NM>Trips</NM></CA>"), "CI");
  std::string entry = AddEntry(*owner, "mine", "in trips", std::stoi(id));
  EXPECT_EQ(Message(owner->Call("DC", "mine", "<CA><CI>" + id + "</CI></CA>")), "");
  EXPECT_EQ(Message(owner->Call("DC", "mine", "<CA><CI>" + id + "</CI></CA>")), "");
  EXPECT_EQ(Message(owner->Call("DC", "mine", "<CA><CI>999</CI></CA>")),
            "Error: This category is deleted or doesn't exist");
  EXPECT_EQ(Message(owner->Call("EC", "mine", "<CA><CI>" + id + "</CI><NM>back</NM></CA>")),
            "Error: This category is deleted or doesn't exist");
  std::string xml = FullChanges(*owner, "mine");
  EXPECT_TRUE(AllTexts(xml, "NM").empty());
  EXPECT_EQ(ElementText(xml, "CI", xml.find("<PI")), "0");
  // The name is free again.
  EXPECT_FALSE(ElementText(owner->Call("AC", "mine", "<CA><NM>Trips</NM></CA>"), "CI").empty());
}

TEST_F(ContentOperationsTest, AddEntryStoresPhotoAndRenditions) {
  std::string jpeg = MakeJpeg(1000, 500, 7);
  std::string xml = owner->Call("AP", "mine", Entry(0, 0, "big &amp; wide", SoapClient::Base64(jpeg)));
  ASSERT_EQ(Message(xml), "");
  size_t id = xml.find("<ID>"), by = xml.find("<BY>"), ou = xml.find("<OU>");
  EXPECT_TRUE(id < by && by < ou) << xml;
  EXPECT_EQ(ElementText(xml, "BY"), "Olive Owner");
  EXPECT_EQ(Fetch(ElementText(xml, "OU")), jpeg);
  std::string gc = FullChanges(*owner, "mine");
  int w = 0, h = 0;
  ASSERT_TRUE(server::JpegCodec::ReadSize(Fetch(ElementText(gc, "PU")), w, h));
  EXPECT_EQ(w, 480);
  EXPECT_EQ(h, 240);
  ASSERT_TRUE(server::JpegCodec::ReadSize(Fetch(ElementText(gc, "TU")), w, h));
  EXPECT_EQ(std::max(w, h), 96);
  EXPECT_EQ(ElementText(gc, "TI"), "big &amp; wide");
  EXPECT_EQ(harness->PhotoFileCount(), 3u);
}

TEST_F(ContentOperationsTest, AddEntryRefusalsLeaveNoFilesBehind) {
  std::string jpeg = SmallJpeg();
  EXPECT_EQ(Message(owner->Call("AP", "mine", Entry(0, 0, "t", SoapClient::Base64("GIF89a not a jpeg")))),
            "Error: The photo is not a JPEG");
  EXPECT_EQ(Message(owner->Call("AP", "mine", Entry(0, 0, "t", SoapClient::Base64(jpeg.substr(0, jpeg.size() / 2))))),
            "Error: The photo is not a JPEG");
  EXPECT_EQ(Message(owner->Call("AP", "mine", Entry(0, 0, "t", ""))), "Error: The photo is not a JPEG");
  EXPECT_EQ(Message(owner->Call("AP", "mine", Entry(0, 0, "t", "@@@@"))), "Error: The photo is not a JPEG");
  EXPECT_EQ(Message(owner->Call("AP", "mine", Entry(0, 77, "t", SoapClient::Base64(jpeg)))),
            "Error: A category is deleted or doesn't exist");
  EXPECT_EQ(Message(owner->Call("AP", "mine", Entry(0, 0, "t", SoapClient::Base64(jpeg), "03/01/2026"))),
            "Error: Invalid date");
  EXPECT_EQ(Message(other->Call("AP", "mine", Entry(0, 0, "t", SoapClient::Base64(jpeg)))),
            "Error: You have not permission to add a picture");
  EXPECT_EQ(Message(other->Call("AP", "club", Entry(0, 0, "t", SoapClient::Base64(jpeg)))),
            "Error: You have not permission to add a picture");
  EXPECT_EQ(Message(Client("owner@example.com", "bad")->Call("AP", "mine", Entry(0, 0, "t", SoapClient::Base64(jpeg)))),
            "Error: Invalid Authentication");
  EXPECT_EQ(harness->PhotoFileCount(), 0u);
  EXPECT_TRUE(AllTexts(FullChanges(*owner, "mine"), "ID").empty());
}

TEST_F(ContentOperationsTest, FreeAccountQuotaCountsTheOwnersBlogsIncludingMembersPhotos) {
  harness->AddUser("small@example.com", "pw", "", "", false, 2);
  harness->AddBlog("tiny", "small@example.com", true);
  harness->AddMember("tiny", "member@example.com");
  auto small = Client("small@example.com", "pw");
  EXPECT_FALSE(AddEntry(*small, "tiny", "one").empty());
  EXPECT_FALSE(AddEntry(*member, "tiny", "two").empty());
  std::string answer;
  EXPECT_TRUE(AddEntry(*member, "tiny", "three", 0, &answer).empty());
  EXPECT_EQ(Message(answer), "Error: Your Picture limit is over");
  EXPECT_EQ(harness->PhotoFileCount(), 6u);
  // Deleting frees the place.
  std::string first = ElementText(FullChanges(*small, "tiny"), "ID");
  ASSERT_EQ(Message(small->Call("DP", "tiny", "<PI><ID>" + first + "</ID></PI>")), "");
  EXPECT_FALSE(AddEntry(*small, "tiny", "four").empty());
  // A pro account has no limit.
  harness->AddUser("pro@example.com", "pw", "", "", true, 0);
  harness->AddBlog("unlimited", "pro@example.com");
  auto pro = Client("pro@example.com", "pw");
  EXPECT_FALSE(AddEntry(*pro, "unlimited", "any").empty());
}

TEST_F(ContentOperationsTest, GroupMembersChangeOnlyTheirOwnEntries) {
  std::string mine = AddEntry(*member, "club", "members");
  std::string owners = AddEntry(*owner, "club", "owners");
  ASSERT_FALSE(mine.empty());
  std::string xml = member->Call("EP", "club", Entry(std::stoi(mine), 0, "renamed", ""));
  EXPECT_EQ(Message(xml), "");
  EXPECT_EQ(ElementText(xml, "ID"), mine);
  EXPECT_EQ(ElementText(xml, "BY"), "Mel Member");
  EXPECT_EQ(Message(member->Call("EP", "club", Entry(std::stoi(owners), 0, "x", ""))),
            "Error: You have not permission to edit a picture");
  EXPECT_EQ(Message(member->Call("DP", "club", "<PI><ID>" + owners + "</ID></PI>")),
            "Error: You have not permission to delete a picture");
  EXPECT_EQ(Message(other->Call("EP", "club", Entry(std::stoi(mine), 0, "x", ""))),
            "Error: You have not permission to edit a picture");
  EXPECT_EQ(Message(other->Call("DP", "club", "<PI><ID>" + mine + "</ID></PI>")),
            "Error: You have not permission to delete a picture");
  // The owner may change anyone's entry; the author stays the member.
  xml = owner->Call("EP", "club", Entry(std::stoi(mine), 0, "owner edit", ""));
  EXPECT_EQ(ElementText(xml, "BY"), "Mel Member");
  EXPECT_EQ(Message(member->Call("DP", "club", "<PI><ID>" + mine + "</ID></PI>")), "");
  std::string gc = FullChanges(*owner, "club");
  EXPECT_EQ(AllTexts(gc, "TI"), std::vector<std::string>{"owners"});
}

TEST_F(ContentOperationsTest, EditAndDeleteOfMissingEntries) {
  std::string id = AddEntry(*owner, "mine", "e");
  const char* kMissing = "Error: This picture is deleted or doesn't exist";
  EXPECT_EQ(Message(owner->Call("EP", "mine", Entry(999, 0, "x", ""))), kMissing);
  EXPECT_EQ(Message(owner->Call("DP", "mine", "<PI><ID>999</ID></PI>")), kMissing);
  // An entry of another blog is not this blog's.
  EXPECT_EQ(Message(owner->Call("EP", "club", Entry(std::stoi(id), 0, "x", ""))), kMissing);
  EXPECT_EQ(Message(owner->Call("DP", "mine", "<PI><ID>" + id + "</ID></PI>")), "");
  EXPECT_EQ(harness->PhotoFileCount(), 0u);
  EXPECT_EQ(Message(owner->Call("DP", "mine", "<PI><ID>" + id + "</ID></PI>")), "");
  EXPECT_EQ(Message(owner->Call("EP", "mine", Entry(std::stoi(id), 0, "x", ""))), kMissing);
  EXPECT_EQ(Message(owner->Call("EP", "mine", "<PI><ID>12x</ID></PI>")), "Error: Invalid request");
}

TEST_F(ContentOperationsTest, CommentsByAnyoneWhereAllowed) {
  std::string entry = AddEntry(*owner, "mine", "e");
  std::string answer;
  std::string id = Comment(*other, "mine", entry, "hi &lt;3", &answer);
  ASSERT_FALSE(id.empty()) << answer;
  EXPECT_LT(answer.find("<OI>"), answer.find("<BY>"));
  EXPECT_EQ(ElementText(answer, "BY"), "other");
  EXPECT_EQ(AllTexts(FullChanges(*owner, "mine"), "OT"), std::vector<std::string>{"hi &lt;3"});
  EXPECT_EQ(Message(other->Call("AO", "mine", "<OM><ID>999</ID><OD>2026-03-02T08:00:00Z</OD><OT>x</OT></OM>")),
            "Error: An entry is deleted or doesn't exist");
  EXPECT_EQ(Message(other->Call("AO", "mine", "<OM><ID>" + entry + "</ID><OD>soon</OD><OT>x</OT></OM>")),
            "Error: Invalid date");
  harness->AddBlog("quiet", "owner@example.com", false, false, "", false);
  std::string quietEntry = AddEntry(*owner, "quiet", "q");
  Comment(*owner, "quiet", quietEntry, "no", &answer);
  EXPECT_EQ(Message(answer), "Error: You have not permission to post a comment");
}

TEST_F(ContentOperationsTest, CommentsAreEditedByAuthorAndDeletedByAuthorOrOwner) {
  std::string entry = AddEntry(*owner, "mine", "e");
  std::string byOther = Comment(*other, "mine", entry, "first");
  std::string byMember = Comment(*member, "mine", entry, "second");
  std::string edit = "<OM><OI>" + byOther + "</OI><ID>" + entry + "</ID><OD>2026-03-03T08:00:00Z</OD><OT>edited</OT></OM>";
  EXPECT_EQ(Message(owner->Call("EO", "mine", edit)), "Error: You have not permission to edit a comment");
  std::string xml = other->Call("EO", "mine", edit);
  EXPECT_EQ(Message(xml), "");
  EXPECT_EQ(ElementText(xml, "OI"), byOther);
  EXPECT_EQ(Message(member->Call("DCO", "mine", "<OM><OI>" + byOther + "</OI></OM>")),
            "Error: You have not permission to delete a comment");
  EXPECT_EQ(Message(owner->Call("DCO", "mine", "<OM><OI>" + byOther + "</OI></OM>")), "");
  EXPECT_EQ(Message(member->Call("DCO", "mine", "<OM><OI>" + byMember + "</OI></OM>")), "");
  EXPECT_EQ(Message(member->Call("DCO", "mine", "<OM><OI>" + byMember + "</OI></OM>")), "");
  EXPECT_EQ(Message(member->Call("DCO", "mine", "<OM><OI>4242</OI></OM>")),
            "Error: This comment is deleted or doesn't exist");
  EXPECT_EQ(Message(other->Call("EO", "mine", edit)), "Error: This comment is deleted or doesn't exist");
  EXPECT_TRUE(AllTexts(FullChanges(*owner, "mine"), "OT").empty());
}

TEST_F(ContentOperationsTest, DeletingAnEntryTakesItsCommentsAlong) {
  std::string entry = AddEntry(*owner, "mine", "e");
  std::string comment = Comment(*other, "mine", entry, "c");
  ASSERT_EQ(Message(owner->Call("DP", "mine", "<PI><ID>" + entry + "</ID></PI>")), "");
  EXPECT_EQ(Message(other->Call("EO", "mine", "<OM><OI>" + comment + "</OI><ID>" + entry +
                                                  "</ID><OD>2026-03-03T08:00:00Z</OD><OT>x</OT></OM>")),
            "Error: This comment is deleted or doesn't exist");
  std::string answer;
  Comment(*other, "mine", entry, "late", &answer);
  EXPECT_EQ(Message(answer), "Error: An entry is deleted or doesn't exist");
}

// A client whose answer to a deletion was lost sends it again; the object is gone
// by then, whoever removed it, and the deletion still counts as done.
TEST_F(ContentOperationsTest, RepeatedDeletionsOfGoneObjectsSucceedForTheirRightfulDeleter) {
  std::string mine = AddEntry(*member, "club", "members");
  ASSERT_EQ(Message(owner->Call("DP", "club", "<PI><ID>" + mine + "</ID></PI>")), "");
  EXPECT_EQ(Message(member->Call("DP", "club", "<PI><ID>" + mine + "</ID></PI>")), "");
  std::string entry = AddEntry(*owner, "mine", "e");
  std::string comment = Comment(*other, "mine", entry, "c");
  ASSERT_EQ(Message(owner->Call("DP", "mine", "<PI><ID>" + entry + "</ID></PI>")), "");
  EXPECT_EQ(Message(other->Call("DCO", "mine", "<OM><OI>" + comment + "</OI></OM>")), "");
  // Someone who could not have deleted it still may not.
  EXPECT_EQ(Message(member->Call("DCO", "mine", "<OM><OI>" + comment + "</OI></OM>")),
            "Error: You have not permission to delete a comment");
  EXPECT_EQ(Message(other->Call("DP", "club", "<PI><ID>" + mine + "</ID></PI>")),
            "Error: You have not permission to delete a picture");
}

}  // namespace
}  // namespace servertest
