#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Archive.h"
#include "model/CWinBlogStorage.h"
#include "platform/ErrorCodes.h"
#include "tests/model/ModelTestUtil.h"

using model::Archive;
using model::CWinBlogStorage;
using modeltest::ArchiveBytes;
using modeltest::PutU16;
using modeltest::PutU32;
using modeltest::ReadArchive;

namespace {

std::vector<uint8_t> Written(const std::function<void(Archive&)>& write) {
  std::vector<uint8_t> out;
  Archive ar = Archive::ForWriting([&out](const uint8_t* d, size_t n) {
    out.insert(out.end(), d, d + n);
    return 0u;
  });
  write(ar);
  EXPECT_EQ(ar.Flush(), 0u);
  return out;
}

std::vector<uint8_t> Prefix(const std::vector<uint8_t>& bytes, size_t n) {
  return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n));
}

// The header of an empty database: everything before its six list counts.
std::vector<uint8_t> DatabaseHeader() {
  CWinBlogStorage empty;
  std::vector<uint8_t> bytes = ArchiveBytes(empty);
  bytes.resize(bytes.size() - 12);
  return bytes;
}

void PutClass(std::vector<uint8_t>& out, const std::string& name, uint16_t schema = 0) {
  PutU16(out, 0xFFFF);
  PutU16(out, schema);
  PutU16(out, static_cast<uint16_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
}

// A category record with id and name.
void PutCategory(std::vector<uint8_t>& out, uint32_t id, const std::string& name) {
  PutU32(out, id);
  modeltest::PutString(out, name);
  out.push_back(0);  // url
  out.push_back(1);  // modified
  out.push_back(0);  // unconfirmed
}

// An entry record of a published entry with only id and date set.
void PutEntry(std::vector<uint8_t>& out, uint32_t id, uint32_t date) {
  PutU32(out, id);
  PutU32(out, 0);                          // category
  PutU32(out, 0);                          // author
  out.insert(out.end(), 6, 0);             // six empty strings
  PutU32(out, date);
  PutU32(out, 0);                          // date2
  PutU32(out, 0);                          // photo bytes
  PutU32(out, 0);                          // width, height
  out.insert(out.end(), {0, 0, 0});        // size code, upload size, flags
  out.push_back(0);                        // photo path
  out.insert(out.end(), {0, 0});           // modified, unconfirmed
  PutU32(out, 0);                          // no thumbnail
}

}  // namespace

TEST(ArchiveTest, StringLengthsUseTheShortestFormAndTheWideMark) {
  EXPECT_EQ(Prefix(Written([](Archive& ar) { ar.WriteString(std::string(254, 'x')); }), 1),
            (std::vector<uint8_t>{0xFE}));
  EXPECT_EQ(Prefix(Written([](Archive& ar) { ar.WriteString(std::string(255, 'x')); }), 3),
            (std::vector<uint8_t>{0xFF, 0xFF, 0x00}));
  EXPECT_EQ(Prefix(Written([](Archive& ar) { ar.WriteString(std::string(0xFFFD, 'x')); }), 3),
            (std::vector<uint8_t>{0xFF, 0xFD, 0xFF}));
  EXPECT_EQ(Prefix(Written([](Archive& ar) { ar.WriteString(std::string(0xFFFE, 'x')); }), 7),
            (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(Written([](Archive& ar) { ar.WriteWString(u"ab"); }),
            (std::vector<uint8_t>{0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b', 0}));
  EXPECT_EQ(Prefix(Written([](Archive& ar) { ar.WriteWString(std::u16string(300, u'y')); }), 6),
            (std::vector<uint8_t>{0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
  EXPECT_EQ(Written([](Archive& ar) { ar.WriteCount(0xFFFE); }), (std::vector<uint8_t>{0xFE, 0xFF}));
  EXPECT_EQ(Written([](Archive& ar) { ar.WriteCount(0xFFFF); }),
            (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
}

TEST(ArchiveTest, StringsReadBackInEveryFormAndConvertBetweenKinds) {
  for (size_t len : {0u, 1u, 254u, 255u, 0xFFFDu, 0xFFFEu, 0x10005u}) {
    std::string text(len, 'q');
    std::vector<uint8_t> bytes = Written([&](Archive& ar) { ar.WriteString(text); });
    Archive ar = Archive::ForReading(bytes.data(), bytes.size());
    std::string back;
    ASSERT_TRUE(ar.ReadString(back)) << len;
    EXPECT_EQ(back, text);
    EXPECT_EQ(ar.BytesLeft(), 0u);
  }
  // 16-bit text found by an 8-bit field becomes UTF-8, and the other way round.
  std::vector<uint8_t> wide = Written([](Archive& ar) { ar.WriteWString(u"h\u00e9"); });
  Archive a1 = Archive::ForReading(wide.data(), wide.size());
  std::string narrow;
  ASSERT_TRUE(a1.ReadString(narrow));
  EXPECT_EQ(narrow, "h\xC3\xA9");
  std::vector<uint8_t> eight = Written([](Archive& ar) { ar.WriteString("h\xC3\xA9"); });
  Archive a2 = Archive::ForReading(eight.data(), eight.size());
  std::u16string back;
  ASSERT_TRUE(a2.ReadWString(back));
  EXPECT_EQ(back, u"h\u00e9");
}

TEST(ArchiveTest, EightByteLengthsAreBoundedAndChecked) {
  std::vector<uint8_t> ok = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  PutU32(ok, 3);
  PutU32(ok, 0);
  ok.insert(ok.end(), {'a', 'b', 'c'});
  Archive a1 = Archive::ForReading(ok.data(), ok.size());
  std::string s;
  ASSERT_TRUE(a1.ReadString(s));
  EXPECT_EQ(s, "abc");

  std::vector<uint8_t> huge = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  PutU32(huge, 0);
  PutU32(huge, 1);  // 2^32: beyond 2^31
  Archive a2 = Archive::ForReading(huge.data(), huge.size());
  EXPECT_FALSE(a2.ReadString(s));
  EXPECT_EQ(a2.Error(), platform::kErrInvalidData);

  // A length beyond the bytes left fails before anything is allocated, and the
  // failure sticks.
  std::vector<uint8_t> lying = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'x'};
  Archive a3 = Archive::ForReading(lying.data(), lying.size());
  EXPECT_FALSE(a3.ReadString(s));
  uint8_t b = 0;
  EXPECT_FALSE(a3.ReadU8(b));
}

TEST(ArchiveTest, EmptyDatabaseIs54Bytes) {
  CWinBlogStorage blog;
  std::vector<uint8_t> bytes = ArchiveBytes(blog);
  ASSERT_EQ(bytes.size(), 54u);
  EXPECT_EQ(bytes[0], 1);  // the version written
  EXPECT_EQ(bytes[1], 0);
  // Six empty lists at the end, filters before them: all categories, Show All.
  EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 18, bytes.end()),
            (std::vector<uint8_t>{0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ArchiveTest, ClassesAndObjectsShareOneCounter) {
  CWinBlogStorage blog;
  blog.InsertEntry(modeltest::MakeEntry(1, 100));
  blog.InsertEntry(modeltest::MakeEntry(2, 90));
  for (const char* name : {"a", "b", "c"}) {
    auto category = std::make_unique<model::CWinBlogAlbum>();
    category->SetName(name);
    blog.InsertCategory(std::move(category));
  }
  std::vector<uint8_t> bytes = ArchiveBytes(blog);
  std::vector<uint8_t> expected = DatabaseHeader();
  PutU16(expected, 2);
  PutClass(expected, "CWinBlogEntry");
  PutEntry(expected, 1, 100);
  PutU16(expected, 0x8001);
  PutEntry(expected, 2, 90);
  PutU16(expected, 3);
  PutClass(expected, "CWinBlogAlbum");
  PutCategory(expected, 0, "a");
  PutU16(expected, 0x8004);
  PutCategory(expected, 0, "b");
  PutU16(expected, 0x8004);
  PutCategory(expected, 0, "c");
  for (int i = 0; i < 4; ++i) PutU16(expected, 0);
  EXPECT_EQ(bytes, expected);
}

TEST(ArchiveTest, FullDatabaseRoundTripsByteForByte) {
  CWinBlogStorage blog;
  model::CBlogInfo* info = blog.GetBlogInfo();
  info->urlName = "trips";
  info->title = "Trips \xE2\x9C\x88";
  info->viewPassword = "secret";
  info->groupType = 1;
  info->entryLimit = 40;
  blog.SetLastSync(123456);
  blog.SetFilters(7, model::kShowPending);
  for (uint32_t i = 1; i <= 5; ++i) {
    auto entry = modeltest::MakeEntry(i, 1000 + i, "title " + std::to_string(i));
    entry->SetThumbnail(std::vector<uint8_t>(300 * i, static_cast<uint8_t>(i)));
    entry->photoPath = "\\My Documents\\My Pictures\\trips\\p" + std::to_string(i) + ".jpg";
    entry->SetNew(i % 2 == 0);
    entry->SetPhotoDimensions(640, 480);
    blog.InsertEntry(std::move(entry));
  }
  auto category = std::make_unique<model::CWinBlogAlbum>();
  category->SetName("Sea");
  category->SetUrl("http://x/sea");
  blog.InsertCategory(std::move(category));
  auto comment = std::make_unique<model::CWinBlogComment>();
  comment->SetEntryId(2);
  comment->SetText(std::string(300, 'c'));
  blog.InsertComment(std::move(comment));
  blog.DiscardEntry(blog.FindEntry(3), true, false);
  blog.RemoveCategory(*blog.GetCategoryAt(0), false);
  blog.RemoveComment(*blog.Comments().At(0), false);

  std::vector<uint8_t> bytes = ArchiveBytes(blog);
  CWinBlogStorage copy;
  ASSERT_EQ(ReadArchive(copy, bytes), 0u);
  EXPECT_EQ(copy.Entries().Count(), 4u);
  EXPECT_EQ(copy.DeletedEntries().Count(), 1u);
  EXPECT_EQ(copy.DeletedCategories().Count(), 1u);
  EXPECT_EQ(copy.DeletedComments().Count(), 1u);
  EXPECT_EQ(copy.Info().title, info->title);
  EXPECT_EQ(copy.GetCategoryFilter(), 7u);
  EXPECT_EQ(copy.Entries().At(0)->GetThumbnail().size(), 1500u);
  EXPECT_EQ(ArchiveBytes(copy), bytes);
}

TEST(ArchiveTest, LargeArchivesUseLongTags) {
  CWinBlogStorage blog;
  for (uint32_t i = 0; i < 0x8000; ++i) {
    auto comment = std::make_unique<model::CWinBlogComment>();
    comment->SetId(i + 1);
    comment->SetDate(i);
    blog.InsertComment(std::move(comment));
  }
  // Numbers 1 (class) and 2..0x8001 (comments) are taken; the entry class gets
  // 0x8002, so the second deleted entry names it with a long class tag.
  for (uint32_t id : {7u, 8u}) {
    blog.InsertEntry(modeltest::MakeEntry(id, id));
    blog.DiscardEntry(blog.FindEntry(id), true, false);
  }
  std::vector<uint8_t> bytes = ArchiveBytes(blog);
  std::vector<uint8_t> longTag = {0xFF, 0x7F, 0x02, 0x80, 0x00, 0x80};
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), longTag.begin(), longTag.end()), bytes.end());
  CWinBlogStorage copy;
  ASSERT_EQ(ReadArchive(copy, bytes), 0u);
  EXPECT_EQ(copy.Comments().Count(), 0x8000u);
  EXPECT_EQ(copy.DeletedEntries().Count(), 2u);
  EXPECT_EQ(ArchiveBytes(copy), bytes);
}

TEST(ArchiveTest, HostileObjectTagsFailWithoutSharingOrLosingObjects) {
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> categories;  // the categories list
    size_t kept;
  };
  const std::vector<Case> cases = {
      {"class name of 64 characters",
       [](auto& b) { PutU16(b, 1); PutClass(b, std::string(64, 'C')); }, 0},
      {"unknown class", [](auto& b) { PutU16(b, 1); PutClass(b, "CWinBlogAlbumX"); }, 0},
      {"schema 1", [](auto& b) { PutU16(b, 1); PutClass(b, "CWinBlogAlbum", 1); }, 0},
      {"null in a list", [](auto& b) { PutU16(b, 1); PutU16(b, 0); }, 0},
      {"back-reference to an object read",
       [](auto& b) {
         PutU16(b, 2);
         PutClass(b, "CWinBlogAlbum");
         PutCategory(b, 5, "x");
         PutU16(b, 2);
       },
       1},
      {"class number never read", [](auto& b) { PutU16(b, 1); PutU16(b, 0x8005); }, 0},
      {"class tag naming an object",
       [](auto& b) {
         PutU16(b, 2);
         PutClass(b, "CWinBlogAlbum");
         PutCategory(b, 5, "x");
         PutU16(b, 0x8002);
       },
       1},
      {"another class in the list", [](auto& b) { PutU16(b, 1); PutClass(b, "CWinBlogEntry"); }, 0},
      {"a database inside a list",
       [](auto& b) { PutU16(b, 1); PutClass(b, "CWinBlogStorage"); }, 0},
      {"long tag past the counter",
       [](auto& b) { PutU16(b, 1); PutU16(b, 0x7FFF); PutU32(b, 0xBFFFFFFF); }, 0},
      {"count far beyond the bytes", [](auto& b) { PutU16(b, 0xFFFF); PutU32(b, 0xFFFFFFF0); }, 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = DatabaseHeader();
    PutU16(bytes, 0);  // entries
    c.categories(bytes);
    for (int i = 0; i < 4; ++i) PutU16(bytes, 0);
    CWinBlogStorage blog;
    EXPECT_EQ(ReadArchive(blog, bytes), platform::kErrInvalidData) << c.what;
    ASSERT_EQ(blog.GetCategoryCount(), c.kept) << c.what;
    for (size_t i = 0; i < c.kept; ++i) EXPECT_EQ(blog.GetCategoryAt(i)->GetName(), "x");
  }
}

TEST(ArchiveTest, EveryTruncationFailsAndKeepsOnlyWholeObjects) {
  CWinBlogStorage blog;
  for (uint32_t i = 1; i <= 3; ++i) {
    auto entry = modeltest::MakeEntry(i, 500 - i, "entry" + std::to_string(i));
    entry->SetThumbnail(std::vector<uint8_t>(20, 0xAB));
    blog.InsertEntry(std::move(entry));
  }
  std::vector<uint8_t> bytes = ArchiveBytes(blog);
  for (size_t n = 0; n < bytes.size(); ++n) {
    CWinBlogStorage partial;
    EXPECT_NE(ReadArchive(partial, Prefix(bytes, n)), 0u) << n;
    ASSERT_LE(partial.Entries().Count(), 3u);
    for (size_t i = 0; i < partial.Entries().Count(); ++i) {
      EXPECT_EQ(partial.Entries().At(i)->GetTitle(), blog.Entries().At(i)->GetTitle());
      EXPECT_EQ(partial.Entries().At(i)->GetThumbnail().size(), 20u);
    }
  }
}
