#include <gtest/gtest.h>

#include "model/CBlogInfo.h"
#include "model/CWinBlogAlbum.h"
#include "model/CWinBlogChannels.h"
#include "model/CWinBlogComment.h"
#include "model/CWinBlogEntry.h"
#include "model/ModelConstants.h"
#include "model/RuntimeClass.h"
#include "net/Win32LargeStream.h"
#include "platform/DeviceFacts.h"
#include "platform/ErrorCodes.h"
#include "tests/model/ModelTestUtil.h"
#include "tests/support/ScriptedUserInterface.h"
#include "tests/support/TempDeviceRoot.h"

using model::CWinBlogEntry;

TEST(ModelObjectsTest, NewObjectsHaveTheirInitialValues) {
  CWinBlogEntry entry;
  EXPECT_TRUE(entry.IsModified());
  EXPECT_EQ(entry.GetId(), 0u);
  EXPECT_FALSE(entry.HasId());
  EXPECT_TRUE(entry.GetThumbnail().empty());
  model::CWinBlogAlbum category;
  EXPECT_TRUE(category.IsModified());
  model::CWinBlogComment comment;
  EXPECT_FALSE(comment.IsModified());

  platform::DeviceFacts saved = platform::DeviceFacts::Current();
  platform::DeviceFacts::Current().screenWidth = 240;
  platform::DeviceFacts::Current().screenHeight = 320;
  EXPECT_EQ(model::CBlogInfo().downloadSize, 2);
  platform::DeviceFacts::Current().screenHeight = 640;
  model::CBlogInfo big;
  EXPECT_EQ(big.downloadSize, 3);
  EXPECT_EQ(big.uploadSize, 3);
  EXPECT_TRUE(big.limitEntries);
  EXPECT_EQ(big.entryLimit, 25);
  platform::DeviceFacts::Current() = saved;
}

TEST(ModelObjectsTest, FactoriesCreateByExactClassName) {
  for (const char* name :
       {"CWinBlogAlbum", "CWinBlogEntry", "CWinBlogComment", "CWinBlogStorage", "CWinBlogUser"}) {
    const model::RuntimeClass* cls = model::FindRuntimeClass(name);
    ASSERT_NE(cls, nullptr) << name;
    EXPECT_EQ(cls->schema, 0);
    if (std::string(name) == "CWinBlogUser") continue;  // its constructor touches the device
    EXPECT_EQ(cls->create()->GetRuntimeClass(), cls);
  }
  EXPECT_EQ(model::FindRuntimeClass("cwinblogentry"), nullptr);
  EXPECT_EQ(model::FindRuntimeClass("CBlogInfo"), nullptr);
}

TEST(ModelObjectsTest, DeepCopyOwnsItsOwnThumbnail) {
  CWinBlogEntry source;
  source.SetTitle("t");
  source.SetThumbnail({1, 2, 3});
  source.photoPath = "\\p.jpg";
  source.unconfirmed = true;
  CWinBlogEntry copy;
  copy.CopyFrom(source);
  source.SetThumbnail({9});
  source.SetTitle("changed");
  EXPECT_EQ(copy.GetThumbnail(), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(copy.GetTitle(), "t");
  EXPECT_EQ(copy.photoPath, "\\p.jpg");
  EXPECT_TRUE(copy.unconfirmed);
}

TEST(ModelObjectsTest, FlagsAndRemovalAnswerWhatChanged) {
  CWinBlogEntry entry;
  EXPECT_TRUE(entry.SetNew(true));
  EXPECT_FALSE(entry.SetNew(true));
  EXPECT_TRUE(entry.IsNew());
  EXPECT_TRUE(entry.SetNewComments(true));
  EXPECT_EQ(entry.GetFlags(), 3);
  EXPECT_TRUE(entry.SetNew(false));
  EXPECT_EQ(entry.GetFlags(), model::kFlagNewComments);

  entry.SetThumbnail({1, 2});
  entry.MarkRemoved();
  EXPECT_TRUE(entry.IsRemoved());
  EXPECT_TRUE(entry.GetThumbnail().empty());
}

TEST(ModelObjectsTest, ServiceIdsEndWhereTemporaryIdsBegin) {
  model::CWinBlogAlbum category;
  category.SetId(0xFFFFFF00u);
  EXPECT_FALSE(category.HasServiceId());
  category.SetId(0xFFFFFEFFu);
  EXPECT_TRUE(category.HasServiceId());
  CWinBlogEntry entry;
  entry.SetCategoryId(0xFFFFFF00u);
  EXPECT_FALSE(entry.CategoryHasServiceId());
  entry.SetCategoryId(0);
  EXPECT_TRUE(entry.CategoryHasServiceId());
}

TEST(ModelObjectsTest, WideAccessorsGoThroughUtf8) {
  CWinBlogEntry entry;
  entry.SetTitleW(u"Caf\u00e9 \U0001F600");
  EXPECT_EQ(entry.GetTitle(), "Caf\xC3\xA9 \xF0\x9F\x98\x80");
  entry.SetCaption("\xE2\x82\xAC");
  EXPECT_EQ(entry.GetCaptionW(), u"\u20ac");
  model::CWinBlogComment comment;
  comment.SetTextW(u"\u00fc");
  EXPECT_EQ(comment.GetText(), "\xC3\xBC");
  model::CWinBlogAlbum category;
  category.SetNameW(u"\u00c5");
  EXPECT_EQ(category.GetNameW(), u"\u00c5");
}

TEST(ModelObjectsTest, ChannelTextGivesOneChannelPerEndedLine) {
  model::CWinBlogChannels channels;
  channels.Parse("\r\n  a b\r\n\r\nc d\r\n");
  ASSERT_EQ(channels.Count(), 2u);
  EXPECT_EQ(channels.At(0).line, u"  a b");
  EXPECT_EQ(channels.At(0).blogName, u"a");
  EXPECT_EQ(channels.At(1).blogName, u"c");
  channels.Parse("a b\r\n\r\nc d");
  ASSERT_EQ(channels.Count(), 1u);
  EXPECT_EQ(channels.At(0).blogName, u"a");
  channels.Parse(std::string("x y\n\0z w\n", 10));
  EXPECT_EQ(channels.Count(), 1u);
  std::string big(model::CWinBlogChannels::kMaxText - 2, 'q');
  channels.Parse(big + "\r\nlast\n");
  EXPECT_EQ(channels.Count(), 1u);
}

TEST(ModelObjectsTest, ViewPasswordComesFromTheUserAndIsCut) {
  testsupport::ScriptedUserInterface ui;
  ui.ExpectViewPassword("hidden", true, std::string(40, 'p'))
      .ExpectViewPassword("hidden", false, "");
  model::CBlogInfo info;
  EXPECT_TRUE(info.AskViewPassword("hidden"));
  EXPECT_EQ(info.viewPassword, std::string(31, 'p'));
  EXPECT_FALSE(info.AskViewPassword("hidden"));
  EXPECT_EQ(info.viewPassword, std::string(31, 'p'));
}

class EntryPhotoTest : public ::testing::Test {
 protected:
  testsupport::TempDeviceRoot root;
};

TEST_F(EntryPhotoTest, AttachPhotoTakesPathSizesAndThumbnail) {
  const std::string path = "\\My Documents\\My Pictures\\wide.jpg";
  modeltest::WriteJpeg(root, path, 200, 100);
  auto source = net::Win32LargeStream::CreateOverPath(path);
  ASSERT_NE(source, nullptr);
  CWinBlogEntry entry;
  EXPECT_EQ(entry.AttachPhoto(source.get(), model::kSizeFull), 0u);
  EXPECT_EQ(entry.photoPath, path);
  uint16_t w = 0, h = 0;
  entry.GetPhotoDimensions(w, h);
  EXPECT_EQ(w, 200);
  EXPECT_EQ(h, 100);
  EXPECT_EQ(entry.GetPhotoBytes(), std::filesystem::file_size(root.Host(path)));
  ASSERT_GT(entry.GetThumbnail().size(), 4u);
  EXPECT_EQ(entry.GetThumbnail()[0], 0xFF);
  EXPECT_EQ(entry.GetThumbnail()[1], 0xD8);

  // Thumbnails only: no path, a thumbnail all the same; known sizes are kept.
  CWinBlogEntry small;
  small.SetPhotoDimensions(9, 9);
  small.SetPhotoBytes(77);
  EXPECT_EQ(small.AttachPhoto(source.get(), model::kSizeThumbnails), 0u);
  EXPECT_TRUE(small.photoPath.empty());
  EXPECT_FALSE(small.GetThumbnail().empty());
  small.GetPhotoDimensions(w, h);
  EXPECT_EQ(w, 9);
  EXPECT_EQ(small.GetPhotoBytes(), 77u);
}

TEST_F(EntryPhotoTest, DeletingPhotosKeepsOrForgetsThePath) {
  const std::string path = "\\My Documents\\a.jpg";
  modeltest::WriteFile(root, path, "x");
  CWinBlogEntry entry;
  entry.photoPath = path;
  entry.DeletePhotoFile(true);  // no id yet: nothing happens
  EXPECT_TRUE(root.Fs().Exists(path));
  entry.DeletePhotoFile(false);
  EXPECT_FALSE(root.Fs().Exists(path));
  EXPECT_EQ(entry.photoPath, path);
  // A missing file counts as deleted.
  EXPECT_EQ(entry.DeletePhoto(), 0u);
  EXPECT_TRUE(entry.photoPath.empty());

  // A photo that cannot be deleted keeps its path (a folder stands in its place).
  root.Fs().CreateFolder("\\My Documents\\dir.jpg");
  root.Fs().CreateFolder("\\My Documents\\dir.jpg\\inner");
  entry.photoPath = "\\My Documents\\dir.jpg";
  EXPECT_NE(entry.DeletePhoto(), 0u);
  EXPECT_EQ(entry.photoPath, "\\My Documents\\dir.jpg");
}

TEST_F(EntryPhotoTest, PhotoLocationIsComparedByWholeFolders) {
  CWinBlogEntry entry;
  entry.photoPath = "\\storage card\\DCIM\\b\\1.jpg";
  EXPECT_TRUE(entry.IsPhotoUnder("\\Storage Card"));
  EXPECT_FALSE(entry.IsPhotoUnder("\\Storage"));
  EXPECT_FALSE(entry.IsPhotoInMainMemory());
  entry.photoPath = "\\MY DOCUMENTS\\My Pictures\\1.jpg";
  EXPECT_TRUE(entry.IsPhotoInMainMemory());
  entry.photoPath = "\\My Documents2\\1.jpg";
  EXPECT_FALSE(entry.IsPhotoInMainMemory());
  auto missing = entry.OpenPhoto();
  EXPECT_EQ(missing, nullptr);
}
