// "GC" and "EB": full downloads, limits, changes since a timestamp with
// tombstones, hidden blogs, and the element order clients scan for.
#include "tests/server/ServiceTest.h"

namespace servertest {
namespace {

class ChangeListTest : public ServiceTest {};

// Every list child, in order, with the names of its elements.
std::vector<std::string> ChildLayouts(const std::string& xml, const std::string& child) {
  std::vector<std::string> layouts;
  std::string open = "<" + child + " ";
  for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
    size_t end = xml.find("</" + child + ">", at);
    std::string layout = xml.substr(at + open.size(), xml.find('>', at) - at - open.size());
    for (size_t tag = xml.find('<', xml.find('>', at)); tag < end; tag = xml.find('<', tag + 1)) {
      if (xml[tag + 1] != '/') layout += " " + xml.substr(tag + 1, xml.find('>', tag) - tag - 1);
    }
    layouts.push_back(layout);
  }
  return layouts;
}

TEST_F(ChangeListTest, FullDownloadWritesEveryElementInTheOrderClientsRead) {
  std::string ci = ElementText(owner->Call("AC", "mine", "<CA><NM>Trips</NM></CA>"), "CI");
  std::string id = AddEntry(*owner, "mine", "first", std::stoi(ci));
  ASSERT_FALSE(id.empty());
  ASSERT_EQ(Message(other->Call("AO", "mine", "<OM><ID>" + id + "</ID><OD>2026-03-02T08:00:00Z</OD><OT>nice</OT></OM>")),
            "");
  std::string xml = FullChanges(*owner, "mine");
  EXPECT_EQ(xml.find("<MS"), std::string::npos);
  size_t ts = xml.find("<TS>"), bs = xml.find("<BS>"), cs = xml.find("<CS>"), ps = xml.find("<PS>"),
         os = xml.find("<OS>");
  EXPECT_TRUE(ts < bs && bs < cs && cs < ps && ps < os) << xml;
  EXPECT_EQ(ElementText(xml, "TS"), SoapClient::FormatUtc(harness->Now()));
  std::string bl = ElementText(xml, "BL");
  EXPECT_EQ(bl, "<BT>Title of mine</BT><ST>Sub</ST><TP>normal</TP><VI>normal</VI><WA>yes</WA><CM>yes</CM><BO>" +
                    ElementText(owner->Call("GU"), "UI") + "</BO>");
  EXPECT_EQ(ChildLayouts(xml, "CA"), std::vector<std::string>{"D=\"false\" CI NM UR"});
  EXPECT_EQ(ChildLayouts(xml, "PI"), std::vector<std::string>{"D=\"false\" CI UI ID TI CP BY OU PU TU PD TD"});
  EXPECT_EQ(ChildLayouts(xml, "OM"), std::vector<std::string>{"D=\"false\" OI ID UI BY OD OT"});
  EXPECT_EQ(ElementText(xml, "UR"), "http://" + harness->PublicHost() + "/mine/?albumid=" + ci);
  // Dates come back exactly as the client sent them.
  EXPECT_EQ(ElementText(xml, "PD"), "2026-03-01T10:00:00+0100");
  EXPECT_EQ(ElementText(xml, "OD"), "2026-03-02T08:00:00Z");
  EXPECT_EQ(ElementText(xml, "BY", xml.find("<OM")), "other");
  EXPECT_EQ(ElementText(xml, "BY", xml.find("<PI")), "Olive Owner");
}

TEST_F(ChangeListTest, LimitKeepsTheNewestEntriesAndOnlyTheirComments) {
  std::vector<std::string> ids;
  for (int day = 1; day <= 4; ++day) {
    std::string date = "2026-03-0" + std::to_string(day) + "T10:00:00+0000";
    std::string xml = owner->Call("AP", "mine", Entry(0, 0, "day" + std::to_string(day),
                                                      SoapClient::Base64(SmallJpeg()), date));
    ids.push_back(ElementText(xml, "ID"));
  }
  for (const std::string& id : ids) {
    owner->Call("AO", "mine", "<OM><ID>" + id + "</ID><OD>2026-03-05T00:00:00Z</OD><OT>on " + id + "</OT></OM>");
  }
  std::string xml = owner->Call("GC", "mine", "<TS /><VP /><MX>2</MX>");
  EXPECT_EQ(AllTexts(xml, "TI"), (std::vector<std::string>{"day4", "day3"}));
  EXPECT_EQ(AllTexts(xml, "OT"), (std::vector<std::string>{"on " + ids[2], "on " + ids[3]}));
  // 32768 means no limit.
  EXPECT_EQ(AllTexts(owner->Call("GC", "mine", "<TS /><VP /><MX>32768</MX>"), "TI").size(), 4u);
}

TEST_F(ChangeListTest, TimestampBringsChangesAndTombstonesSinceThen) {
  std::string cat = ElementText(owner->Call("AC", "mine", "<CA><NM>Old</NM></CA>"), "CI");
  std::string kept = AddEntry(*owner, "mine", "kept");
  std::string filed = AddEntry(*owner, "mine", "filed", std::stoi(cat));
  std::string gone = AddEntry(*owner, "mine", "gone");
  std::string comment =
      ElementText(owner->Call("AO", "mine", "<OM><ID>" + gone + "</ID><OD>2026-03-02T08:00:00Z</OD><OT>c</OT></OM>"),
                  "OI");
  // Changes at the answer's own second come again next time; keep them apart.
  harness->Advance(30);
  owner->SetCreated(harness->Now());
  std::string ts = ElementText(FullChanges(*owner, "mine"), "TS");
  harness->Advance(60);
  owner->SetCreated(harness->Now());

  ASSERT_EQ(Message(owner->Call("DP", "mine", "<PI><ID>" + gone + "</ID></PI>")), "");
  ASSERT_EQ(Message(owner->Call("DC", "mine", "<CA><CI>" + cat + "</CI></CA>")), "");
  harness->Advance(1);
  owner->SetCreated(harness->Now());
  std::string xml = owner->Call("GC", "mine", "<TS>" + ts + "</TS><VP /><MX />");
  EXPECT_EQ(Message(xml), "");
  // The deleted entry and comment come as tombstones, the refiled entry as changed under 0.
  EXPECT_EQ(ChildLayouts(xml, "CA").size(), 1u);
  EXPECT_NE(xml.find("<CA D=\"true\"><CI>" + cat + "</CI>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<PI D=\"false\"><CI>0</CI><UI>"), std::string::npos);
  EXPECT_EQ(AllTexts(xml, "TI"), (std::vector<std::string>{"filed", "gone"}));
  EXPECT_NE(xml.find("<OM D=\"true\"><OI>" + comment + "</OI>"), std::string::npos);
  EXPECT_EQ(xml.find("<TI>kept</TI>"), std::string::npos);
  // Nothing changed since this answer: empty lists, the blog still described.
  harness->Advance(1);
  owner->SetCreated(harness->Now());
  std::string next = owner->Call("GC", "mine", "<TS>" + ElementText(xml, "TS") + "</TS><VP /><MX />");
  EXPECT_NE(next.find("<CS></CS><PS></PS><OS></OS>"), std::string::npos) << next;
  EXPECT_EQ(ElementText(next, "BT"), "Title of mine");
}

TEST_F(ChangeListTest, FutureOrUnreadableTimestampIsRefused) {
  const char* kInvalid = "Error: Invalid timestamp";
  EXPECT_EQ(Message(owner->Call("GC", "mine", "<TS>" + SoapClient::FormatUtc(harness->Now() + 5) + "</TS><VP />")),
            kInvalid);
  EXPECT_EQ(Message(owner->Call("GC", "mine", "<TS>last tuesday</TS><VP />")), kInvalid);
  EXPECT_EQ(Message(owner->Call("GC", "mine", "<TS>2026-02-30T00:00:00Z</TS><VP />")), kInvalid);
  EXPECT_EQ(Message(owner->Call("GC", "mine", "<TS>" + SoapClient::FormatUtc(harness->Now()) + "</TS><VP />")), "");
}

TEST_F(ChangeListTest, HiddenBlogNeedsTheViewPasswordFromOutsiders) {
  AddEntry(*owner, "secret", "private");
  EXPECT_EQ(Message(FullChanges(*other, "secret")), "Error: The Blog is password protected");
  EXPECT_EQ(Message(FullChanges(*other, "secret", other->ViewPassword("wrong"))), "Error: Enter valid viewer password");
  std::string xml = FullChanges(*other, "secret", other->ViewPassword("peek"));
  EXPECT_EQ(Message(xml), "");
  EXPECT_EQ(AllTexts(xml, "TI"), std::vector<std::string>{"private"});
  EXPECT_EQ(ElementText(xml, "VI"), "hidden");
  EXPECT_EQ(ElementText(xml, "WA"), "no");
  EXPECT_EQ(Message(FullChanges(*owner, "secret")), "");
}

TEST_F(ChangeListTest, HiddenBlogWithoutViewPasswordIsClosedToOutsiders) {
  harness->AddBlog("closed", "owner@example.com", false, true, "");
  EXPECT_EQ(Message(FullChanges(*other, "closed")), "Error: The Blog is password protected");
  // Not even a digest of the empty text opens it.
  EXPECT_EQ(Message(FullChanges(*other, "closed", other->ViewPassword(""))), "Error: Enter valid viewer password");
}

TEST_F(ChangeListTest, WriteAccessAndTypeFollowTheReader) {
  std::string asMember = FullChanges(*member, "club");
  EXPECT_EQ(ElementText(asMember, "TP"), "group");
  EXPECT_EQ(ElementText(asMember, "WA"), "yes");
  EXPECT_EQ(ElementText(FullChanges(*other, "club"), "WA"), "no");
  harness->AddBlog("quiet", "owner@example.com", false, false, "", false);
  EXPECT_EQ(ElementText(FullChanges(*other, "quiet"), "CM"), "no");
}

TEST_F(ChangeListTest, EditBlogByOwnerOnly) {
  std::string xml = owner->Call("EB", "mine", "<BL><BT>New &amp; shiny</BT><ST></ST><VI>hidden</VI></BL>");
  EXPECT_EQ(Message(xml), "");
  EXPECT_LT(xml.find("<BT>"), xml.find("<ST>"));
  EXPECT_LT(xml.find("<ST>"), xml.find("<VI>"));
  EXPECT_EQ(ElementText(xml, "BT"), "New &amp; shiny");
  EXPECT_EQ(ElementText(xml, "VI"), "hidden");
  EXPECT_EQ(ElementText(FullChanges(*owner, "mine"), "VI"), "hidden");
  EXPECT_EQ(Message(member->Call("EB", "club", "<BL><BT>x</BT><ST /><VI>normal</VI></BL>")),
            "Error: You have not permission to edit a blog");
  EXPECT_EQ(ElementText(FullChanges(*owner, "club"), "BT"), "Title of club");
}

}  // namespace
}  // namespace servertest
