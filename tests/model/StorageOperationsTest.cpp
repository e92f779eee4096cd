#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"
#include "tests/model/ModelTestUtil.h"
#include "tests/support/TempDeviceRoot.h"

using model::CWinBlogAlbum;
using model::CWinBlogComment;
using model::CWinBlogEntry;
using model::CWinBlogStorage;
using modeltest::MakeEntry;

namespace {

std::vector<uint32_t> EntryIds(const CWinBlogStorage& blog) {
  std::vector<uint32_t> ids;
  for (const auto& e : blog.Entries()) ids.push_back(e->GetId());
  return ids;
}

std::vector<std::string> CategoryNames(const CWinBlogStorage& blog) {
  std::vector<std::string> names;
  for (const auto& c : blog.Categories()) names.push_back(c->GetName());
  return names;
}

std::unique_ptr<CWinBlogAlbum> MakeCategory(uint32_t id, const std::string& name) {
  auto c = std::make_unique<CWinBlogAlbum>();
  c->SetId(id);
  c->SetName(name);
  c->SetModified(false);
  return c;
}

std::unique_ptr<CWinBlogComment> MakeComment(uint32_t id, uint32_t entryId, uint32_t date) {
  auto c = std::make_unique<CWinBlogComment>();
  c->SetId(id);
  c->SetEntryId(entryId);
  c->SetDate(date);
  return c;
}

}  // namespace

TEST(StorageOrderTest, EntriesAreNewestFirstAndEqualDatesKeepInsertionOrder) {
  CWinBlogStorage blog;
  blog.InsertEntry(MakeEntry(1, 100));
  blog.InsertEntry(MakeEntry(2, 300));
  blog.InsertEntry(MakeEntry(3, 200));
  blog.InsertEntry(MakeEntry(4, 200));
  blog.InsertEntry(MakeEntry(5, 200));
  blog.InsertEntry(MakeEntry(6, 50));
  EXPECT_EQ(EntryIds(blog), (std::vector<uint32_t>{2, 3, 4, 5, 1, 6}));
  // Dates compare as a signed difference: a date past 2^31 seconds away is older.
  blog.InsertEntry(MakeEntry(7, 0x90000000u));
  EXPECT_EQ(EntryIds(blog).back(), 7u);

  CWinBlogEntry* moved = blog.FindEntry(1);
  moved->SetDate(250);
  blog.ResortEntry(moved);
  EXPECT_EQ(EntryIds(blog), (std::vector<uint32_t>{2, 1, 3, 4, 5, 6, 7}));
}

TEST(StorageOrderTest, CategoriesByNameWithoutCaseAndCommentsOldestFirst) {
  CWinBlogStorage blog;
  blog.InsertCategory(MakeCategory(1, "beta"));
  blog.InsertCategory(MakeCategory(2, "Alpha"));
  blog.InsertCategory(MakeCategory(3, "BETA"));
  blog.InsertCategory(MakeCategory(4, "gamma"));
  EXPECT_EQ(CategoryNames(blog), (std::vector<std::string>{"Alpha", "beta", "BETA", "gamma"}));
  EXPECT_EQ(blog.FindCategoryByName("ALPHA")->GetId(), 2u);
  EXPECT_TRUE(blog.CategoryNameExists("Gamma"));

  blog.InsertComment(MakeComment(1, 9, 30));
  blog.InsertComment(MakeComment(2, 9, 10));
  blog.InsertComment(MakeComment(3, 9, 30));
  blog.InsertComment(MakeComment(4, 8, 20));
  std::vector<uint32_t> ids;
  for (const auto& c : blog.Comments()) ids.push_back(c->GetId());
  EXPECT_EQ(ids, (std::vector<uint32_t>{2, 4, 1, 3}));
  blog.SetCommentEntry(9);
  EXPECT_EQ(blog.GetCommentCount(), 3u);
  EXPECT_EQ(blog.GetCommentAt(2)->GetId(), 3u);
  EXPECT_EQ(blog.GetCommentAt(3), nullptr);
}

TEST(StorageOrderTest, AddCopiesOnlyWhatIsAbsent) {
  CWinBlogStorage blog;
  auto entry = MakeEntry(5, 10, "first");
  EXPECT_EQ(blog.AddEntry(*entry), 0u);
  entry->SetTitle("second");
  EXPECT_EQ(blog.AddEntry(*entry), 0u);
  ASSERT_EQ(blog.Entries().Count(), 1u);
  EXPECT_NE(blog.Entries().At(0), entry.get());
  EXPECT_EQ(blog.Entries().At(0)->GetTitle(), "first");
  // Id 0 counts like any other id.
  EXPECT_EQ(blog.AddEntry(*MakeEntry(0, 1)), 0u);
  EXPECT_EQ(blog.AddEntry(*MakeEntry(0, 2)), 0u);
  EXPECT_EQ(blog.Entries().Count(), 2u);

  EXPECT_EQ(blog.AddCategory(*MakeCategory(3, "c")), 0u);
  EXPECT_EQ(blog.AddCategory(*MakeCategory(3, "other")), 0u);
  EXPECT_EQ(CategoryNames(blog), (std::vector<std::string>{"c"}));
  EXPECT_EQ(blog.AddComment(*MakeComment(4, 5, 1)), 0u);
  EXPECT_EQ(blog.AddComment(*MakeComment(4, 5, 2)), 0u);
  EXPECT_EQ(blog.Comments().Count(), 1u);
}

TEST(StorageOrderTest, RemovalsGoToTheDeletedListsUnlessDestroyed) {
  CWinBlogStorage blog;
  blog.InsertCategory(MakeCategory(7, "trips"));
  auto filed = MakeEntry(1, 10);
  filed->SetCategoryId(7);
  blog.InsertEntry(std::move(filed));
  blog.RemoveCategory(*blog.FindCategory(7), false);
  EXPECT_EQ(blog.GetCategoryCount(), 0u);
  ASSERT_NE(blog.GetFirstDeletedCategory(), nullptr);
  EXPECT_EQ(blog.FindEntry(1)->GetCategoryId(), 0u);
  blog.RemoveCategory(*MakeCategory(7, ""), true);
  EXPECT_EQ(blog.GetFirstDeletedCategory(), nullptr);

  auto entry = MakeEntry(2, 20);
  entry->SetThumbnail({1, 2, 3});
  blog.InsertEntry(std::move(entry));
  blog.RemoveEntry(*blog.FindEntry(2), false, false);
  ASSERT_NE(blog.GetFirstDeletedEntry(), nullptr);
  EXPECT_TRUE(blog.GetFirstDeletedEntry()->GetThumbnail().empty());
  blog.DestroyEntry(*MakeEntry(2, 0));
  EXPECT_EQ(blog.GetFirstDeletedEntry(), nullptr);

  blog.InsertComment(MakeComment(3, 1, 5));
  blog.RemoveComment(*blog.FindComment(3), false);
  EXPECT_EQ(blog.Comments().Count(), 0u);
  EXPECT_NE(blog.GetFirstDeletedComment(), nullptr);
  blog.ClearDeletedEntries();
  blog.ClearDeletedCategories();
}

TEST(StorageOrderTest, RemovingAPendingEntryRemovesThatEntryNotALookAlike) {
  CWinBlogStorage blog;
  blog.InsertEntry(MakeEntry(0, 30, "newer"));
  blog.InsertEntry(MakeEntry(0, 20, "older"));
  blog.DestroyEntry(*blog.Entries().At(1));
  ASSERT_EQ(blog.Entries().Count(), 1u);
  EXPECT_EQ(blog.Entries().At(0)->GetTitle(), "newer");
}

class StorageQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // ids 1..6, newest first; 2 and 5 pending, 4 removed; 3 and 5 in category 9;
    // author 42 wrote 1 and 6.
    for (uint32_t id = 1; id <= 6; ++id) {
      auto e = MakeEntry(id, 100 - id);
      e->SetModified(id == 2 || id == 5);
      e->SetCategoryId(id == 3 || id == 5 ? 9 : 0);
      e->SetAuthorId(id == 1 || id == 6 ? 42 : 0);
      if (id == 4) e->SetPhotoSize(model::kSizeRemoved);
      blog.InsertEntry(std::move(e));
    }
  }
  std::vector<uint32_t> Shown() const {
    std::vector<uint32_t> ids;
    for (size_t i = 0; i < blog.GetShownCount(); ++i) ids.push_back(blog.GetShownEntryAt(i)->GetId());
    return ids;
  }
  CWinBlogStorage blog;
};

TEST_F(StorageQueryTest, ShowFiltersAndCategoryFilter) {
  EXPECT_EQ(Shown(), (std::vector<uint32_t>{1, 2, 3, 5, 6}));
  blog.SetFilters(model::kAllCategories, model::kShowEverything);
  EXPECT_EQ(Shown(), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
  blog.SetFilters(model::kAllCategories, model::kShowPending);
  EXPECT_EQ(Shown(), (std::vector<uint32_t>{2, 5}));
  blog.SetFilters(model::kAllCategories, model::kShowPublished);
  EXPECT_EQ(Shown(), (std::vector<uint32_t>{1, 3, 6}));
  // No user logged in: "by me" means entries of author 0.
  blog.SetFilters(model::kAllCategories, model::kShowPublishedByMe);
  EXPECT_EQ(Shown(), (std::vector<uint32_t>{3}));
  blog.SetFilters(9, model::kShowAll);
  EXPECT_EQ(Shown(), (std::vector<uint32_t>{3, 5}));
  blog.SetFilters(0, model::kShowAll);
  EXPECT_EQ(Shown(), (std::vector<uint32_t>{1, 2, 6}));
  blog.SetFilters(model::kAllCategories, 4);
  EXPECT_EQ(blog.GetShownCount(), 0u);
}

TEST_F(StorageQueryTest, PositionsCountShownEntriesOnly) {
  EXPECT_EQ(blog.GetShownEntryAt(5), nullptr);
  EXPECT_EQ(blog.GetLastShownEntry(0)->GetId(), 6u);
  EXPECT_EQ(blog.GetLastShownEntry(1)->GetId(), 5u);
  EXPECT_EQ(blog.GetLastShownEntry(2)->GetId(), 3u);
  EXPECT_EQ(blog.GetLastShownEntry(5), nullptr);
  // The removed entry is not shown but still has a position.
  EXPECT_EQ(blog.GetShownPosition(blog.FindEntry(4)), 3u);
  EXPECT_EQ(blog.GetShownPosition(blog.FindEntry(5)), 3u);
  auto stranger = MakeEntry(1, 1);
  EXPECT_EQ(blog.GetShownPosition(stranger.get()), 0xFFFF);
  blog.SetFilters(model::kAllCategories, model::kShowEverything);
  EXPECT_EQ(blog.GetShownPosition(blog.FindEntry(5)), 4u);
  EXPECT_EQ(blog.GetLastShownEntry(2)->GetId(), 4u);
}

TEST_F(StorageQueryTest, LocalLookupsMatchOnlyUnsentObjects) {
  auto local = MakeEntry(0, 5, "Beach");
  local->SetCaption("Sunny");
  local->SetCategoryId(9);
  blog.InsertEntry(std::move(local));
  std::string_view caption = "SUNNY";
  std::string_view wrong = "rain";
  EXPECT_NE(blog.FindLocalEntry(9, "beach", &caption, 5), nullptr);
  EXPECT_NE(blog.FindLocalEntry(9, "beach", nullptr, 0), nullptr);
  EXPECT_EQ(blog.FindLocalEntry(9, "beach", &wrong, 0), nullptr);
  EXPECT_EQ(blog.FindLocalEntry(0, "beach", nullptr, 0), nullptr);
  EXPECT_EQ(blog.FindLocalEntry(9, "beach", nullptr, 6), nullptr);

  blog.InsertCategory(MakeCategory(0xFFFFFF03u, "Mine"));
  blog.InsertCategory(MakeCategory(12, "Theirs"));
  EXPECT_NE(blog.FindLocalCategory("mine"), nullptr);
  EXPECT_EQ(blog.FindLocalCategory("theirs"), nullptr);

  auto comment = MakeComment(0, 3, 77);
  comment->SetText("Nice");
  comment->SetModified(true);
  blog.InsertComment(std::move(comment));
  std::string_view text = "nice";
  EXPECT_NE(blog.FindLocalComment(3, &text, 77), nullptr);
  EXPECT_EQ(blog.FindLocalComment(3, &text, 78), nullptr);
  EXPECT_EQ(blog.GetFirstModifiedComment()->GetText(), "Nice");
}

TEST(StorageSyncTest, FullDownloadDropsWhatTheServiceNoLongerHas) {
  testsupport::TempDeviceRoot root;
  CWinBlogStorage blog;
  const std::string photo = "\\My Documents\\gone.jpg";
  modeltest::WriteFile(root, photo, "jpeg");
  auto gone = MakeEntry(1, 10);
  gone->photoPath = photo;
  blog.InsertEntry(std::move(gone));
  auto edited = MakeEntry(2, 20);
  edited->SetModified(true);
  blog.InsertEntry(std::move(edited));
  blog.InsertEntry(MakeEntry(0, 30));
  blog.InsertEntry(MakeEntry(3, 40));
  blog.MarkEntriesUnconfirmed();
  blog.ConfirmEntry(*blog.FindEntry(3));
  blog.DropUnconfirmedEntries();
  EXPECT_EQ(EntryIds(blog), (std::vector<uint32_t>{3, 0, 2}));
  EXPECT_FALSE(root.Fs().Exists(photo));
  for (const auto& e : blog.Entries()) EXPECT_FALSE(e->unconfirmed);

  blog.InsertCategory(MakeCategory(5, "kept"));
  blog.InsertCategory(MakeCategory(6, "dropped"));
  auto local = MakeCategory(0xFFFFFF00u, "local");
  local->SetModified(true);
  blog.InsertCategory(std::move(local));
  blog.MarkCategoriesUnconfirmed();
  blog.ConfirmCategory(*blog.FindCategory(5));
  blog.DropUnconfirmedCategories();
  EXPECT_EQ(CategoryNames(blog), (std::vector<std::string>{"kept", "local"}));

  blog.InsertComment(MakeComment(8, 3, 1));
  blog.InsertComment(MakeComment(9, 2, 1));
  blog.InsertComment(MakeComment(0, 2, 2));
  blog.MarkCommentsUnconfirmed();
  blog.ConfirmCommentsOf(3);
  blog.DropUnconfirmedComments();
  ASSERT_EQ(blog.Comments().Count(), 2u);
  EXPECT_EQ(blog.Comments().At(0)->GetId(), 8u);
  EXPECT_EQ(blog.Comments().At(1)->GetId(), 0u);
}

TEST(StorageSyncTest, TrimKeepsTheNewestAndWhatIsStillToBeSent) {
  CWinBlogStorage blog;
  for (uint32_t i = 1; i <= 30; ++i) {
    auto e = MakeEntry(i, 1000 - i);
    e->SetModified(i == 28);
    blog.InsertEntry(std::move(e));
    blog.InsertComment(MakeComment(100 + i, i, i));
  }
  blog.SetFilters(9, model::kShowPending);
  std::vector<int> waits;
  blog.TrimToLimit([&waits](int w) { waits.push_back(w); });
  EXPECT_EQ(blog.Entries().Count(), 26u);
  EXPECT_NE(blog.FindEntry(28), nullptr);
  EXPECT_EQ(blog.FindEntry(26), nullptr);
  // Published comments go with the entries beyond the limit, even those kept.
  EXPECT_EQ(blog.Comments().Count(), 25u);
  EXPECT_TRUE(waits.empty());  // only five over the limit
  EXPECT_EQ(blog.GetCategoryFilter(), 9u);
  EXPECT_EQ(blog.GetShowFilter(), model::kShowPending);

  for (uint32_t i = 31; i <= 40; ++i) blog.InsertEntry(MakeEntry(i, 10));
  blog.TrimToLimit([&waits](int w) { waits.push_back(w); });
  EXPECT_EQ(waits, (std::vector<int>{1, 0}));

  blog.GetBlogInfo()->limitEntries = false;
  EXPECT_EQ(blog.GetEntryLimit(), model::kNoEntryLimit);
  size_t before = blog.Entries().Count();
  blog.InsertEntry(MakeEntry(99, 1));
  blog.TrimToLimit();
  EXPECT_EQ(blog.Entries().Count(), before + 1);
}

TEST(StorageLocalTest, LocalCategoryIdsRunOutAfter256) {
  CWinBlogStorage blog;
  blog.InsertCategory(MakeCategory(17, "service"));
  EXPECT_EQ(blog.NextLocalCategoryId(), 0xFFFFFF00u);
  for (uint32_t n = 0; n < 255; ++n) {
    uint32_t id = blog.NextLocalCategoryId();
    ASSERT_EQ(id, 0xFFFFFF00u + n);
    blog.InsertCategory(MakeCategory(id, "z" + std::to_string(1000 - n)));
  }
  EXPECT_EQ(blog.NextLocalCategoryId(), 0xFFFFFFFFu);
  blog.InsertCategory(MakeCategory(0xFFFFFFFFu, "last"));
  EXPECT_EQ(blog.NextLocalCategoryId(), 0u);
}

class StoragePermissionTest : public ::testing::Test {
 protected:
  testsupport::TempDeviceRoot root;
  model::CWinBlogUser user;
  CWinBlogStorage blog;
  void SetUp() override { blog.SetAccount(&user); }
};

TEST_F(StoragePermissionTest, EntryEditRulesInOrder) {
  auto mine = MakeEntry(5, 1);
  mine->SetAuthorId(42);
  auto theirs = MakeEntry(6, 1);
  theirs->SetAuthorId(7);
  auto unsent = MakeEntry(0, 1);
  unsent->SetAuthorId(7);

  EXPECT_TRUE(blog.IsEntryReadOnly(mine.get()));  // nobody logged in
  user.SetUserId(42);
  EXPECT_FALSE(blog.IsEntryReadOnly(theirs.get()));  // not a group blog
  blog.GetBlogInfo()->SetWriteAccess(false);
  EXPECT_TRUE(blog.IsEntryReadOnly(mine.get()));
  blog.GetBlogInfo()->SetWriteAccess(true);
  blog.GetBlogInfo()->groupType = 1;
  blog.GetBlogInfo()->ownerId = 42;
  EXPECT_FALSE(blog.IsEntryReadOnly(theirs.get()));  // owner
  blog.GetBlogInfo()->ownerId = 1;
  EXPECT_TRUE(blog.IsEntryReadOnly(nullptr));
  EXPECT_FALSE(blog.IsEntryReadOnly(nullptr, true));
  EXPECT_FALSE(blog.IsEntryReadOnly(unsent.get()));
  EXPECT_FALSE(blog.IsEntryReadOnly(mine.get()));
  EXPECT_TRUE(blog.IsEntryReadOnly(theirs.get()));
}

TEST_F(StoragePermissionTest, CommentLocks) {
  auto other = MakeComment(3, 1, 1);
  other->SetAuthorId(7);
  auto own = MakeComment(4, 1, 1);
  own->SetAuthorId(42);
  EXPECT_TRUE(blog.IsCommentLocked(nullptr));
  user.SetUserId(42);
  EXPECT_TRUE(blog.IsCommentLocked(nullptr));
  blog.GetBlogInfo()->commentsAllowed = true;
  EXPECT_FALSE(blog.IsCommentLocked(nullptr));
  EXPECT_FALSE(blog.IsCommentLocked(own.get()));
  EXPECT_FALSE(blog.IsCommentLocked(other.get()));  // writable blog
  blog.GetBlogInfo()->groupType = 1;
  EXPECT_TRUE(blog.IsCommentLocked(other.get()));
}

TEST_F(StoragePermissionTest, CategorizeSkipsEntriesTheUserMayNotEdit) {
  user.SetUserId(42);
  blog.GetBlogInfo()->groupType = 1;
  for (uint32_t id = 1; id <= 3; ++id) {
    auto e = MakeEntry(id, id);
    e->SetAuthorId(id == 2 ? 7 : 42);
    blog.InsertEntry(std::move(e));
  }
  auto category = MakeCategory(9, "c");
  blog.SetFilters(0, model::kShowAll);
  EXPECT_TRUE(blog.CategorizeShown(category.get()));
  EXPECT_EQ(blog.FindEntry(1)->GetCategoryId(), 9u);
  EXPECT_TRUE(blog.FindEntry(1)->IsModified());
  EXPECT_EQ(blog.FindEntry(3)->GetCategoryId(), 9u);
  EXPECT_EQ(blog.FindEntry(2)->GetCategoryId(), 0u);
  EXPECT_FALSE(blog.FindEntry(2)->IsModified());
}

TEST_F(StoragePermissionTest, DiscardOnWebOrOnTheDeviceOnly) {
  const std::string photo = "\\My Documents\\p.jpg";
  modeltest::WriteFile(root, photo, "x");
  auto published = MakeEntry(1, 1);
  published->photoPath = photo;
  published->SetThumbnail({1});
  blog.InsertEntry(std::move(published));
  blog.InsertEntry(MakeEntry(2, 2));
  blog.InsertEntry(MakeEntry(0, 3));

  blog.SetPath("\\My Documents\\b.tsl");
  blog.DiscardEntry(blog.FindEntry(1), false, true);
  ASSERT_EQ(blog.Save(), 0u);
  EXPECT_FALSE(root.Fs().Exists(photo));
  ASSERT_NE(blog.FindEntry(1), nullptr);
  EXPECT_TRUE(blog.FindEntry(1)->IsRemoved());
  EXPECT_FALSE(blog.FindEntry(1)->IsModified());

  // On the web: the published one waits for the sync; the unsent one is just gone.
  blog.DiscardShownEntries(true, false);
  EXPECT_EQ(EntryIds(blog), (std::vector<uint32_t>{1}));
  ASSERT_EQ(blog.DeletedEntries().Count(), 1u);
  EXPECT_EQ(blog.DeletedEntries().At(0)->GetId(), 2u);
}
