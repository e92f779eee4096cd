#include <gtest/gtest.h>

#include "model/ModelConstants.h"
#include "net/ReadOnlyMemoryStream.h"
#include "tests/service/ServiceFixture.h"

namespace servicetest {
namespace {

class ChangeListTest : public ServiceTest {
 protected:
  uint32_t Apply(const std::string& elements) {
    answer_ = Answer("GC", elements);
    net::ReadOnlyMemoryStream stream(answer_.data(), static_cast<uint32_t>(answer_.size()));
    return service_->ApplyChanges(stream);
  }
  model::CWinBlogEntry* AddEntry(uint32_t id, const std::string& title, bool modified,
                                 uint32_t categoryId = 0) {
    auto e = std::make_unique<model::CWinBlogEntry>();
    e->SetId(id);
    e->SetTitle(title);
    e->SetCategoryId(categoryId);
    e->SetDate(Time(2026, 1, 1, 0, 0, 0));
    e->SetModified(modified);
    model::CWinBlogEntry* raw = e.get();
    blog_->InsertEntry(std::move(e));
    return raw;
  }
  static std::string Entry(uint32_t id, const std::string& title, const std::string& more = "",
                           const std::string& attributes = "") {
    return "<PI" + attributes + "><CI>0</CI><UI>3</UI><ID>" + std::to_string(id) + "</ID><TI>" + title +
           "</TI><CP></CP><BY>Ann</BY><OU>http://h/" + std::to_string(id) +
           ".jpg</OU><PU></PU><TU></TU><PD>2026-01-01T00:00:00+0000</PD><TD>2026-01-01T00:00:00+0000</TD>" +
           more + "</PI>";
  }

  std::string answer_;
};

TEST_F(ChangeListTest, BlogCategoriesEntriesAndCommentsArriveWithEntitiesDecoded) {
  service_->SetSyncTimestamp(Time(2026, 2, 1, 0, 0, 0));
  AddEntry(70, "old", false);
  EXPECT_EQ(Apply("<TS>2026-05-06T07:08:09Z</TS>"
                  "<BS><BL><BT>Tom &amp; Jerry</BT><ST>&lt;sub&gt;</ST><TP>normal</TP><VI>normal</VI>"
                  "<WA>no</WA><CM>yes</CM><BO>12</BO></BL></BS>"
                  "<CS><CA D=\"false\"><CI>4</CI><NM>Cats &amp; dogs</NM><UR>http://h/c4</UR></CA></CS>"
                  "<PS>" + Entry(71, "A &quot;quote&quot;") + "</PS>"
                  "<OS><OM><OI>900</OI><ID>70</ID><UI>3</UI><BY>Bo</BY><OD>2026-01-05T00:00:00Z</OD>"
                  "<OT>line&#xA;two</OT></OM></OS>"),
            0u);
  const model::CBlogInfo& info = blog_->Info();
  EXPECT_EQ(info.title, "Tom & Jerry");
  EXPECT_EQ(info.subtitle, "<sub>");
  EXPECT_EQ(info.groupType, 0);
  EXPECT_EQ(info.hidden, 0);
  EXPECT_TRUE(info.readOnly);
  EXPECT_TRUE(info.commentsAllowed);
  EXPECT_EQ(info.ownerId, 12u);
  ASSERT_NE(blog_->FindCategory(4), nullptr);
  EXPECT_EQ(blog_->FindCategory(4)->GetName(), "Cats & dogs");
  model::CWinBlogEntry* entry = blog_->FindEntry(71);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->GetTitle(), "A \"quote\"");
  EXPECT_TRUE(entry->IsNew());
  EXPECT_FALSE(entry->IsModified());
  EXPECT_EQ(entry->GetAuthorName(), "");  // not a group blog
  ASSERT_NE(blog_->FindComment(900), nullptr);
  EXPECT_EQ(blog_->FindComment(900)->GetText(), "line\ntwo");
  EXPECT_TRUE(blog_->FindEntry(70)->HasNewComments());
  EXPECT_EQ(service_->GetSyncTimestamp(), Time(2026, 5, 6, 7, 8, 9));
}

TEST_F(ChangeListTest, DeletionsAndChangesRespectLocalEdits) {
  AddEntry(1, "kept local edit", true);
  AddEntry(2, "to delete", false);
  AddEntry(3, "to change", false);
  blog_->GetBlogInfo()->modified = true;
  blog_->GetBlogInfo()->title = "mine";
  EXPECT_EQ(Apply("<BS><BL><BT>theirs</BT><TP>group</TP><VI>hidden</VI><WA>yes</WA><BO>7</BO></BL></BS>"
                  "<PS>" + Entry(1, "server title") + Entry(2, "x", "", " D=\"true\"") +
                  Entry(3, "changed") + Entry(4, "gone already", "", " D=\"t\"") + "</PS>"),
            0u);
  EXPECT_EQ(blog_->FindEntry(1)->GetTitle(), "kept local edit");
  EXPECT_EQ(blog_->FindEntry(2), nullptr);
  EXPECT_EQ(blog_->FindEntry(3)->GetTitle(), "changed");
  EXPECT_EQ(blog_->FindEntry(3)->GetAuthorName(), "Ann");  // group blog now
  EXPECT_EQ(blog_->FindEntry(3)->GetAuthorId(), 3u);
  EXPECT_EQ(blog_->FindEntry(4), nullptr);
  EXPECT_EQ(blog_->Info().title, "mine");
  EXPECT_EQ(blog_->Info().groupType, 1);
  EXPECT_EQ(blog_->Info().hidden, 0);  // visibility waits with the local change
  EXPECT_FALSE(blog_->Info().readOnly);
}

TEST_F(ChangeListTest, ObjectsMadeOnTheDeviceAreBoundInsteadOfDuplicated) {
  auto category = std::make_unique<model::CWinBlogAlbum>();
  category->SetId(model::kFirstLocalCategoryId);
  category->SetName("Trips");
  blog_->InsertCategory(std::move(category));
  model::CWinBlogEntry* local = AddEntry(0, "Beach", false, model::kFirstLocalCategoryId);
  auto c = std::make_unique<model::CWinBlogComment>();
  c->SetEntryId(55);
  c->SetText("Hello");
  c->SetDate(Time(2026, 1, 3, 0, 0, 0));
  c->SetModified(false);
  model::CWinBlogComment* localComment = c.get();
  blog_->InsertComment(std::move(c));

  EXPECT_EQ(Apply("<CS><CA><CI>8</CI><NM>trips</NM><UR>u</UR></CA></CS>"
                  "<PS><PI><CI>8</CI><ID>55</ID><TI>beach</TI><CP></CP>"
                  "<PD>2026-01-01T00:00:00+0000</PD></PI></PS>"
                  "<OS><OM><OI>77</OI><ID>55</ID><OD>2026-01-03T00:00:00Z</OD><OT>hello</OT></OM></OS>"),
            0u);
  EXPECT_EQ(blog_->GetCategoryCount(), 1u);
  EXPECT_EQ(blog_->FindCategory(8)->GetName(), "Trips");
  EXPECT_EQ(local->GetId(), 55u);
  EXPECT_EQ(local->GetCategoryId(), 8u);
  EXPECT_EQ(blog_->Entries().Count(), 1u);
  EXPECT_EQ(localComment->GetId(), 77u);
  EXPECT_EQ(blog_->Comments().Count(), 1u);
}

TEST_F(ChangeListTest, FullDownloadDropsWhatTheServiceNoLongerListsButKeepsPendingWork) {
  service_->SetSyncTimestamp(0);
  AddEntry(1, "published, dropped", false);
  AddEntry(2, "published, edited", true);
  AddEntry(0, "never sent", true);
  AddEntry(3, "listed", false);
  EXPECT_EQ(Apply("<PS>" + Entry(3, "listed") + "</PS>"), 0u);
  EXPECT_EQ(blog_->FindEntry(1), nullptr);
  EXPECT_NE(blog_->FindEntry(2), nullptr);
  EXPECT_NE(blog_->FindEntry(0), nullptr);
  ASSERT_NE(blog_->FindEntry(3), nullptr);
  EXPECT_FALSE(blog_->FindEntry(3)->IsNew());
  // No timestamp in the answer: the new timestamp stays as requested.
  EXPECT_EQ(service_->GetSyncTimestamp(), 0u);
}

TEST_F(ChangeListTest, TextsAreCutAtTheirLimitsAndProgressComesEveryEighthEntry) {
  const std::string longTitle(300, 'x');
  // 126 ASCII bytes, then a two-byte character that the 127-byte limit would split.
  const std::string split = std::string(126, 'a') + "\xC3\xA9" + "tail";
  std::string entries = Entry(1, longTitle) + Entry(2, split);
  for (uint32_t id = 3; id <= 9; ++id) entries += Entry(id, "e");
  EXPECT_EQ(Apply("<PS>" + entries + "</PS>"), 0u);
  EXPECT_EQ(blog_->FindEntry(1)->GetTitle(), std::string(127, 'x'));
  EXPECT_EQ(blog_->FindEntry(2)->GetTitle(), std::string(126, 'a'));
  EXPECT_EQ(StageReports(9), 2);
}

TEST_F(ChangeListTest, HostileAnswersEndQuietly) {
  const char* answers[] = {
      "<PS><PI><ID>5</ID><TI>never closed",
      "<PS><PI D=\"t><ID>6</ID></PI></PS>",
      "<CS><CA><CI>99999999999999999999</CI><NM>big</NM></CA></CS>",
      "<OS><OM/><OM><OI></OI></OM></OS>",
      "<PS><PI><ID>7</ID><TI>" ,
  };
  for (const char* a : answers) EXPECT_EQ(Apply(a), 0u) << a;
  std::string huge = "<PS><PI><ID>8</ID><CP>" + std::string(200000, 'c') + "</CP></PI></PS>";
  EXPECT_EQ(Apply(huge), 0u);
  ASSERT_NE(blog_->FindEntry(8), nullptr);
  EXPECT_EQ(blog_->FindEntry(8)->GetCaption().size(), 7999u);
}

}  // namespace
}  // namespace servicetest
