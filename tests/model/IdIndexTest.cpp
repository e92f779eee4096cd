#include <gtest/gtest.h>

#include <memory>

#include "model/CWinBlogStorage.h"
#include "tests/model/ModelTestUtil.h"
#include "tests/support/TempDeviceRoot.h"

using model::CWinBlogAlbum;
using model::CWinBlogComment;
using model::CWinBlogEntry;
using model::CWinBlogStorage;
using modeltest::MakeEntry;

namespace {

constexpr uint32_t kLocalCategory = 0xFFFFFF00u;

}  // namespace

// What the uploads and the change list do: the service's id is set on the
// device's own object, then the service's copy of it arrives. An index that missed
// the new id would add the copy beside the object, and the file would hold both.
TEST(IdIndexTest, IdsGivenInPlaceAreFoundSoNothingIsStoredTwice) {
  testsupport::TempDeviceRoot root;
  CWinBlogStorage blog;
  blog.SetPath("\\My Documents\\blog.tsl");
  auto pending = MakeEntry(0, 100, "Beach");
  CWinBlogEntry* entry = pending.get();
  blog.InsertEntry(std::move(pending));
  auto made = std::make_unique<CWinBlogAlbum>();
  made->SetId(kLocalCategory);
  made->SetName("Trips");
  CWinBlogAlbum* category = made.get();
  blog.InsertCategory(std::move(made));
  auto written = std::make_unique<CWinBlogComment>();
  CWinBlogComment* comment = written.get();
  blog.InsertComment(std::move(written));
  // The lists are looked up before the ids change.
  ASSERT_EQ(blog.FindEntry(77), nullptr);
  ASSERT_EQ(blog.FindCategory(42), nullptr);
  ASSERT_EQ(blog.FindComment(5), nullptr);

  entry->SetId(77);
  category->SetId(42);
  comment->SetId(5);
  EXPECT_EQ(blog.FindEntry(77), entry);
  EXPECT_EQ(blog.FindCategory(42), category);
  EXPECT_EQ(blog.FindComment(5), comment);
  EXPECT_EQ(blog.FindCategory(kLocalCategory), nullptr);

  CWinBlogEntry serviceEntry;
  serviceEntry.CopyFrom(*entry);
  CWinBlogAlbum serviceCategory;
  serviceCategory.CopyFrom(*category);
  CWinBlogComment serviceComment;
  serviceComment.CopyFrom(*comment);
  EXPECT_EQ(blog.AddEntry(serviceEntry), 0u);
  EXPECT_EQ(blog.AddCategory(serviceCategory), 0u);
  EXPECT_EQ(blog.AddComment(serviceComment), 0u);
  ASSERT_EQ(blog.Save(), 0u);

  CWinBlogStorage loaded;
  loaded.SetPath(blog.GetPath());
  ASSERT_EQ(loaded.Load(), 0u);
  EXPECT_EQ(loaded.Entries().Count(), 1u);
  EXPECT_EQ(loaded.Categories().Count(), 1u);
  EXPECT_EQ(loaded.Comments().Count(), 1u);
  EXPECT_NE(loaded.FindEntry(77), nullptr);
}

TEST(IdIndexTest, OnlyTheListedObjectCarriesItsIdIntoTheIndex) {
  CWinBlogStorage blog;
  auto outside = MakeEntry(0, 100);
  outside->SetId(5);
  ASSERT_EQ(blog.AddEntry(*outside), 0u);
  CWinBlogEntry* copy = blog.FindEntry(5);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, outside.get());

  // The argument of AddEntry stays the caller's: its changes reach no list.
  outside->SetId(6);
  EXPECT_EQ(blog.FindEntry(5), copy);
  EXPECT_EQ(blog.FindEntry(6), nullptr);

  // A copy made over a listed entry moves it to the id it copied.
  auto other = MakeEntry(9, 100);
  copy->CopyFrom(*other);
  EXPECT_EQ(blog.FindEntry(9), copy);
  EXPECT_EQ(blog.FindEntry(5), nullptr);
}

TEST(IdIndexTest, SharedIdsAnswerTheFirstInTheList) {
  CWinBlogStorage blog;
  blog.InsertEntry(MakeEntry(3, 100, "older"));
  blog.InsertEntry(MakeEntry(3, 200, "newer"));
  blog.InsertEntry(MakeEntry(4, 150));
  EXPECT_EQ(blog.FindEntry(3)->GetTitle(), "newer");
  blog.RemoveEntry(*blog.FindEntry(3), true, false);
  EXPECT_EQ(blog.FindEntry(3)->GetTitle(), "older");
  EXPECT_EQ(blog.IndexOfEntry(blog.FindEntry(3)), 1);
}

TEST(IdIndexTest, ObjectsLeavingTheListsLeaveTheirIndex) {
  testsupport::TempDeviceRoot root;
  CWinBlogStorage blog;
  blog.InsertEntry(MakeEntry(1, 100));
  blog.InsertEntry(MakeEntry(2, 200));
  blog.InsertEntry(MakeEntry(3, 300));
  ASSERT_NE(blog.FindEntry(2), nullptr);

  blog.RemoveEntry(*blog.FindEntry(2), false, false);
  EXPECT_EQ(blog.FindEntry(2), nullptr);
  ASSERT_NE(blog.GetFirstDeletedEntry(), nullptr);
  blog.GetFirstDeletedEntry()->SetId(20);
  EXPECT_EQ(blog.FindEntry(20), nullptr);
  auto gone = MakeEntry(20, 1);
  blog.RemoveEntry(*gone, true, false);
  EXPECT_EQ(blog.GetFirstDeletedEntry(), nullptr);

  blog.MarkEntriesUnconfirmed();
  blog.ConfirmEntry(*blog.FindEntry(1));
  blog.DropUnconfirmedEntries();
  EXPECT_EQ(blog.FindEntry(3), nullptr);
  ASSERT_NE(blog.FindEntry(1), nullptr);
  EXPECT_EQ(blog.Entries().Count(), 1u);
}
