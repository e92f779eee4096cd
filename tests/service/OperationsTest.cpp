#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "image/Bitmap.h"
#include "image/JpegWriter.h"
#include "model/ModelConstants.h"
#include "net/HttpErrors.h"
#include "platform/ErrorCodes.h"
#include "service/ServiceErrors.h"
#include "tests/service/ServiceFixture.h"

namespace servicetest {
namespace {

using model::MessageIcon;

std::string Ms(const std::string& text) { return "<MS>" + text + "</MS>"; }

// The bytes of a small real JPEG photo.
std::string SmallJpeg() {
  static const std::string bytes = [] {
    image::Bitmap bitmap;
    bitmap.Allocate(16, 8);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "tessary-service-test.jpg";
    image::WriteBitmapAsJpeg(bitmap, file.string(), 80);
    std::ifstream in(file, std::ios::binary);
    std::string jpeg(std::istreambuf_iterator<char>(in), {});
    std::filesystem::remove(file);
    return jpeg;
  }();
  return bytes;
}

std::string Base64(const std::string& bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  out.resize(static_cast<size_t>(n));
  return out;
}

class OperationsTest : public ServiceTest {
 protected:
  model::CWinBlogAlbum* AddCategory(uint32_t id, const std::string& name, bool modified) {
    auto c = std::make_unique<model::CWinBlogAlbum>();
    c->SetId(id);
    c->SetName(name);
    c->SetModified(modified);
    model::CWinBlogAlbum* raw = c.get();
    blog_->InsertCategory(std::move(c));
    return raw;
  }
  model::CWinBlogEntry* AddEntry(uint32_t id, uint32_t categoryId, const std::string& photoPath = "") {
    auto e = std::make_unique<model::CWinBlogEntry>();
    e->SetId(id);
    e->SetCategoryId(categoryId);
    e->SetTitle("T");
    e->SetCaption("C");
    e->SetDate(Time(2026, 1, 2, 3, 4, 5));
    e->SetDate2(Time(2026, 1, 2, 3, 4, 6));
    e->photoPath = photoPath;
    model::CWinBlogEntry* raw = e.get();
    blog_->InsertEntry(std::move(e));
    return raw;
  }
  void WriteHostFile(const std::string& phonePath, const std::string& bytes) {
    root_.Fs().CreateFolders(std::string(platform::PhoneFolderOf(phonePath)));
    std::ofstream(root_.Host(phonePath), std::ios::binary) << bytes;
  }
};

TEST_F(OperationsTest, NewCategoryTakesTheServiceIdAndItsEntriesFollow) {
  model::CWinBlogAlbum* category = AddCategory(model::kFirstLocalCategoryId, "Trips", true);
  model::CWinBlogEntry* entry = AddEntry(11, model::kFirstLocalCategoryId);
  server_.EnqueueOk(Answer("AC", "<CI>42</CI>"));
  EXPECT_EQ(service_->StoreCategory(*category), 0u);
  EXPECT_EQ(Elements(0), Auth(true) + "<CA><NM>Trips</NM></CA>");
  EXPECT_EQ(category->GetId(), 42u);
  EXPECT_FALSE(category->IsModified());
  EXPECT_EQ(entry->GetCategoryId(), 42u);
  EXPECT_EQ(StageReports(1), 1);

  category->SetName("A&B");
  category->SetModified(true);
  server_.EnqueueOk(Answer("EC", ""));
  EXPECT_EQ(service_->StoreCategory(*category), 0u);
  EXPECT_EQ(Elements(1), Auth(true) + "<CA><CI>42</CI><NM>A&amp;B</NM></CA>");
  EXPECT_NE(server_.Requests()[1].find("SOAPAction: \"http://127.0.0.1/ws/EC\""), std::string::npos);
}

TEST_F(OperationsTest, RefusedCategoryIsDroppedLocallyAndForcesAFullDownload) {
  model::CWinBlogAlbum* category = AddCategory(9, "Mine", true);
  service_->SetSyncTimestamp(Time(2026, 2, 1, 0, 0, 0));
  server_.EnqueueOk(Answer("EC", Ms("Error: You have not permission to ADD a category")));
  ui_.ExpectMessage("You do not have permission to add categories to this blog.", MessageIcon::Exclamation);
  EXPECT_EQ(service_->StoreCategory(*category), 0u);
  EXPECT_FALSE(category->IsModified());
  EXPECT_EQ(service_->GetSyncTimestamp(), 0u);
  EXPECT_EQ(service_->GetRequestTimestamp(), 0u);

  // A read-only blog refuses before anything is sent.
  blog_->GetBlogInfo()->readOnly = true;
  category->SetModified(true);
  ui_.ExpectMessage("You do not have permission to edit this blog's categories.", MessageIcon::Exclamation);
  EXPECT_EQ(service_->StoreCategory(*category), 0u);
  EXPECT_EQ(server_.Requests().size(), 1u);
  EXPECT_TRUE(ui_.Done());
}

TEST_F(OperationsTest, DeletesSendTheIdAndRemoveForGood) {
  AddCategory(5, "Old", false);
  model::CWinBlogEntry* entry = AddEntry(77, 5);
  blog_->RemoveCategory(*blog_->FindCategory(5), false);
  blog_->RemoveEntry(*entry, false, false);
  server_.EnqueueOk(Answer("DC", ""));
  server_.EnqueueOk(Answer("DP", ""));
  EXPECT_EQ(service_->DeleteCategory(*blog_->GetFirstDeletedCategory()), 0u);
  EXPECT_EQ(service_->DeleteEntry(*blog_->GetFirstDeletedEntry()), 0u);
  EXPECT_EQ(Elements(0), Auth(true) + "<CA><CI>5</CI></CA>");
  EXPECT_EQ(Elements(1), Auth(true) + "<PI><ID>77</ID></PI>");
  EXPECT_EQ(blog_->GetFirstDeletedCategory(), nullptr);
  EXPECT_EQ(blog_->GetFirstDeletedEntry(), nullptr);
}

TEST_F(OperationsTest, RefusedDeletionsStillLeaveTheDevice) {
  model::CWinBlogEntry* entry = AddEntry(12, 0);
  blog_->RemoveEntry(*entry, false, false);
  service_->SetSyncTimestamp(Time(2026, 2, 1, 0, 0, 0));
  server_.EnqueueOk(Answer("DP", Ms("Error: You have not permission to delete a picture")));
  ui_.ExpectMessage("You do not have permission to delete entries from this blog.", MessageIcon::Exclamation);
  EXPECT_EQ(service_->DeleteEntry(*blog_->GetFirstDeletedEntry()), 0u);
  EXPECT_EQ(blog_->GetFirstDeletedEntry(), nullptr);
  EXPECT_EQ(service_->GetSyncTimestamp(), 0u);

  // In someone else's group blog a comment cannot be deleted: refused unsent.
  blog_->GetBlogInfo()->groupType = 1;
  blog_->GetBlogInfo()->ownerId = 99;
  auto c = std::make_unique<model::CWinBlogComment>();
  c->SetId(5);
  blog_->InsertComment(std::move(c));
  blog_->RemoveComment(*blog_->FindComment(5), false);
  ui_.ExpectMessage("You do not have permission to edit comments in this blog.", MessageIcon::Exclamation);
  EXPECT_EQ(service_->DeleteComment(*blog_->GetFirstDeletedComment()), 0u);
  EXPECT_EQ(blog_->GetFirstDeletedComment(), nullptr);
  EXPECT_EQ(server_.Requests().size(), 1u);
  EXPECT_TRUE(ui_.Done());
}

TEST_F(OperationsTest, DeletingWhatTheServiceNoLongerHasCountsAsDone) {
  // The answer to an earlier deletion was lost: the service has it gone already.
  AddCategory(5, "Old", false);
  AddCategory(6, "Older", false);
  model::CWinBlogEntry* entry = AddEntry(77, 0);
  blog_->RemoveCategory(*blog_->FindCategory(5), false);
  blog_->RemoveCategory(*blog_->FindCategory(6), false);
  blog_->RemoveEntry(*entry, false, false);
  auto c = std::make_unique<model::CWinBlogComment>();
  c->SetId(9);
  blog_->InsertComment(std::move(c));
  blog_->RemoveComment(*blog_->FindComment(9), false);
  server_.EnqueueOk(Answer("DC", Ms("Error: This category is deleted or doesn't exist")));
  server_.EnqueueOk(Answer("DC", Ms("Error: A category is deleted or doesn't exist")));
  server_.EnqueueOk(Answer("DP", Ms("Error: This picture is deleted or doesn't exist")));
  server_.EnqueueOk(Answer("DCO", Ms("Error: This comment is deleted or doesn't exist")));
  EXPECT_EQ(service_->DeleteCategory(*blog_->GetFirstDeletedCategory()), 0u);
  EXPECT_EQ(service_->DeleteCategory(*blog_->GetFirstDeletedCategory()), 0u);
  EXPECT_EQ(service_->DeleteEntry(*blog_->GetFirstDeletedEntry()), 0u);
  EXPECT_EQ(service_->DeleteComment(*blog_->GetFirstDeletedComment()), 0u);
  EXPECT_EQ(blog_->GetFirstDeletedCategory(), nullptr);
  EXPECT_EQ(blog_->GetFirstDeletedEntry(), nullptr);
  EXPECT_EQ(blog_->GetFirstDeletedComment(), nullptr);
  EXPECT_TRUE(ui_.Prompts().empty());
}

TEST_F(OperationsTest, NewEntryGoesUpWithItsPhotoAndTakesTheAnswer) {
  WriteHostFile("\\My Documents\\My Pictures\\a.jpg", SmallJpeg());
  model::CWinBlogEntry* entry = AddEntry(0, 0, "\\My Documents\\My Pictures\\a.jpg");
  server_.EnqueueOk(Answer("AP", "<ID>99</ID><BY>Someone</BY><OU>http://h/p/full.jpg</OU>"));
  EXPECT_EQ(service_->StoreEntry(*entry, &ServiceTest::Callback, this, 0, 1, 3), 0u);
  EXPECT_EQ(Elements(0), Auth(true) +
                             "<PI><CI>0</CI><TI>T</TI><CP>C</CP><PD>2026-01-02T03:04:05+0000</PD>"
                             "<TD>2026-01-02T03:04:06+0000</TD><JP>" + Base64(SmallJpeg()) + "</JP></PI>");
  EXPECT_EQ(entry->GetId(), 99u);
  EXPECT_EQ(entry->GetFullSizeUrl(), "http://h/p/full.jpg");
  EXPECT_EQ(entry->GetAuthorName(), "");  // personal blog: no author taken
  EXPECT_EQ(entry->GetUploadSize(), 3);
  EXPECT_FALSE(entry->IsModified());
  ASSERT_FALSE(reports_.empty());
  EXPECT_EQ(reports_[0].stage, 3u);
  EXPECT_EQ(reports_[0].number, 1);
  EXPECT_EQ(reports_[0].total, 3);

  // An edit never carries the photo.
  entry->SetModified(true);
  server_.EnqueueOk(Answer("EP", ""));
  EXPECT_EQ(service_->StoreEntry(*entry, nullptr, nullptr, 0, 1, 1), 0u);
  EXPECT_EQ(Body(1).find("<JP>"), std::string::npos);
  EXPECT_NE(Elements(1).find("<PI><ID>99</ID><CI>0</CI>"), std::string::npos);
}

// The photo's text is made while the request goes out; the request is the same
// bytes as one built whole: one body of the announced length, no interim reply
// asked for, no chunks.
TEST_F(OperationsTest, PhotoOverAMebibyteGoesOutWholeWithItsLength) {
  // Noise keeps a JPEG large: about 1.5 MB at this size.
  image::Bitmap bitmap;
  ASSERT_EQ(bitmap.Allocate(1100, 900), 0);
  std::mt19937 rng(5);
  for (uint32_t y = 0; y < bitmap.Height(); ++y) {
    for (uint32_t x = 0; x < bitmap.Width(); ++x) bitmap.Row(y)[x] = static_cast<uint16_t>(rng());
  }
  ASSERT_TRUE(image::WriteBitmapAsJpeg(bitmap, root_.Host("\\My Documents\\big.jpg").string(), 95));
  std::ifstream in(root_.Host("\\My Documents\\big.jpg"), std::ios::binary);
  const std::string photo(std::istreambuf_iterator<char>(in), {});
  ASSERT_GT(photo.size(), 1024u * 1024u);
  model::CWinBlogEntry* entry = AddEntry(0, 0, "\\My Documents\\big.jpg");
  server_.EnqueueOk(Answer("AP", "<ID>12</ID>"));
  ASSERT_EQ(service_->StoreEntry(*entry, nullptr, nullptr, 0, 1, 1), 0u);

  std::vector<unsigned char> text(4 * ((photo.size() + 2) / 3) + 1);
  const int n = EVP_EncodeBlock(text.data(), reinterpret_cast<const unsigned char*>(photo.data()),
                                static_cast<int>(photo.size()));
  EXPECT_TRUE(Elements(0) == Auth(true) +
                                 "<PI><CI>0</CI><TI>T</TI><CP>C</CP><PD>2026-01-02T03:04:05+0000</PD>"
                                 "<TD>2026-01-02T03:04:06+0000</TD><JP>" +
                                 std::string(reinterpret_cast<const char*>(text.data()), static_cast<size_t>(n)) +
                                 "</JP></PI>");
  const std::string request = server_.Requests().at(0);
  const std::string head = request.substr(0, request.find("\r\n\r\n") + 4);
  EXPECT_NE(head.find("\r\nContent-Length: " + std::to_string(Body(0).size()) + "\r\n"), std::string::npos);
  EXPECT_EQ(head.find("Expect"), std::string::npos);
  EXPECT_EQ(head.find("Transfer-Encoding"), std::string::npos);
  EXPECT_EQ(entry->GetId(), 12u);
}

TEST_F(OperationsTest, GroupBlogUploadTakesAuthorAndUser) {
  blog_->GetBlogInfo()->groupType = 1;
  blog_->GetBlogInfo()->ownerId = kUserId;
  WriteHostFile("\\My Documents\\b.jpg", SmallJpeg());
  model::CWinBlogEntry* entry = AddEntry(0, 0, "\\My Documents\\b.jpg");
  server_.EnqueueOk(Answer("AP", "<ID>5</ID><BY>Me &amp; I</BY><OU>http://h/b.jpg</OU>"));
  EXPECT_EQ(service_->StoreEntry(*entry, nullptr, nullptr, 1, 1, 1), 0u);
  EXPECT_EQ(entry->GetAuthorName(), "Me & I");
  EXPECT_EQ(entry->GetAuthorId(), kUserId);
}

TEST_F(OperationsTest, NewEntryWithoutItsPhotoSendsNothing) {
  model::CWinBlogEntry* entry = AddEntry(0, 0, "\\My Documents\\gone.jpg");
  EXPECT_EQ(service_->StoreEntry(*entry, nullptr, nullptr, 0, 1, 1), service::kResultPhotoMissing);
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_TRUE(entry->IsModified());
}

TEST_F(OperationsTest, ANewEntryWhosePhotoIsNoLongerAJpegSendsNothing) {
  WriteHostFile("\\My Documents\\text.jpg", "not a photo any more");
  model::CWinBlogEntry* entry = AddEntry(0, 0, "\\My Documents\\text.jpg");
  EXPECT_EQ(service_->StoreEntry(*entry, nullptr, nullptr, 0, 1, 1), service::kResultInvalidJpeg);
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_TRUE(entry->IsModified());
  EXPECT_EQ(service_->UnsentPhotoItem(*entry, service::kResultInvalidJpeg), "\"text.jpg\" (Invalid JPEG)");
}

TEST_F(OperationsTest, AnUploadRefusedWithTheServicesOwnTextStaysPendingUnreported) {
  WriteHostFile("\\My Documents\\huge.jpg", SmallJpeg());
  model::CWinBlogEntry* entry = AddEntry(0, 0, "\\My Documents\\huge.jpg");
  server_.EnqueueOk(Answer("AP", Ms("Error: The photo is too large")));
  EXPECT_EQ(service_->StoreEntry(*entry, nullptr, nullptr, 0, 1, 1), service::kResultPhotoRefused);
  EXPECT_TRUE(entry->IsModified());
  EXPECT_FALSE(entry->HasId());
  EXPECT_TRUE(ui_.Prompts().empty());
  EXPECT_EQ(service_->UnsentPhotoItem(*entry, service::kResultPhotoRefused),
            "\"huge.jpg\" (Error: The photo is too large)");
}

TEST_F(OperationsTest, PictureLimitOfSomeoneElsesGroupBlogIsTheGroupsLimit) {
  blog_->GetBlogInfo()->groupType = 1;
  blog_->GetBlogInfo()->ownerId = 1234;
  WriteHostFile("\\My Documents\\c.jpg", SmallJpeg());
  model::CWinBlogEntry* entry = AddEntry(0, 0, "\\My Documents\\c.jpg");
  server_.EnqueueOk(Answer("AP", Ms("Error: Your Picture limit is over")));
  ui_.ExpectMessage("Your photos were not uploaded because this group blog has reached its photo limit.",
                    MessageIcon::Exclamation);
  EXPECT_EQ(service_->StoreEntry(*entry, nullptr, nullptr, 1, 1, 1), service::kResultAlreadyReported);
  EXPECT_TRUE(entry->IsModified());
}

TEST_F(OperationsTest, ServerErrorIsShownOnceTransportFailureNever) {
  model::CWinBlogEntry entry;
  entry.SetId(3);
  server_.EnqueueOk(Answer("DP", Ms("Error: A blog doesn't exist")));
  ui_.ExpectMessage("This Blog URL does not exist.", MessageIcon::Exclamation);
  EXPECT_EQ(service_->DeleteEntry(entry), service::kResultAlreadyReported);

  server_.EnqueueRaw("HTTP/1.1 503 Busy\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(service_->DeleteEntry(entry), 503u);
  EXPECT_EQ(StageReports(net::kStageTransportFailure), 1);
  EXPECT_EQ(reports_.back().code, 503u);
  EXPECT_TRUE(ui_.Done());
}

TEST_F(OperationsTest, CommentsAreAddedAndDeleted) {
  AddEntry(50, 0);
  blog_->GetBlogInfo()->commentsAllowed = true;
  auto c = std::make_unique<model::CWinBlogComment>();
  c->SetEntryId(50);
  c->SetText("nice <3");
  c->SetDate(Time(2026, 3, 1, 12, 0, 0));
  c->SetModified(true);
  model::CWinBlogComment* comment = c.get();
  blog_->InsertComment(std::move(c));
  server_.EnqueueOk(Answer("AO", "<OI>600</OI><BY>Me</BY>"));
  EXPECT_EQ(service_->StoreComment(*comment, nullptr, nullptr), 0u);
  EXPECT_EQ(Elements(0), Auth(true) + "<OM><ID>50</ID><OD>2026-03-01T12:00:00Z</OD><OT>nice &lt;3</OT></OM>");
  EXPECT_EQ(comment->GetId(), 600u);
  EXPECT_EQ(comment->GetAuthorName(), "Me");
  EXPECT_EQ(comment->GetAuthorId(), kUserId);
  EXPECT_FALSE(comment->IsModified());

  comment->SetText("edited");
  comment->SetModified(true);
  server_.EnqueueOk(Answer("EO", ""));
  EXPECT_EQ(service_->StoreComment(*comment, nullptr, nullptr), 0u);
  EXPECT_EQ(Elements(1), Auth(true) + "<OM><OI>600</OI><ID>50</ID><OD>2026-03-01T12:00:00Z</OD><OT>edited</OT></OM>");
  EXPECT_FALSE(comment->IsModified());

  blog_->RemoveComment(*comment, false);
  server_.EnqueueOk(Answer("DCO", ""));
  EXPECT_EQ(service_->DeleteComment(*blog_->GetFirstDeletedComment()), 0u);
  EXPECT_EQ(Elements(2), Auth(true) + "<OM><OI>600</OI></OM>");
  EXPECT_EQ(blog_->GetFirstDeletedComment(), nullptr);
}

TEST_F(OperationsTest, PhotoEmailAndRemotePost) {
  server_.EnqueueOk(Answer("PhotoEMail", ""));
  EXPECT_EQ(service_->SendPhotoEmail(3, 9, "a@x.com, b<y>@y.com,", "hi & bye", nullptr, nullptr), 0u);
  EXPECT_EQ(Elements(0), Auth(true) +
                             "<CI>3</CI><ID>9</ID><RS><RP>a@x.com</RP><RP>b&lt;y&gt;@y.com</RP></RS>"
                             "<MG>hi &amp; bye</MG>");
  server_.EnqueueOk(Answer("RemoteBlog", ""));
  EXPECT_EQ(service_->PostToRemoteBlog(3, 0, "wp", "", "cap", nullptr, nullptr), 0u);
  EXPECT_EQ(Elements(1), Auth(true) + "<CI>3</CI><ID /><RB>wp</RB><TI></TI><CP>cap</CP>");

  service_->SetAccount("me@example.com", "secret", 0, "myblog", "");
  ui_.ExpectMessage(
      "Your email or password is incorrect.  Please select Account Info and verify your settings.",
      MessageIcon::Exclamation);
  EXPECT_EQ(service_->SendPhotoEmail(3, 9, "a@x.com", "", nullptr, nullptr), service::kResultAlreadyReported);
  EXPECT_EQ(server_.Requests().size(), 2u);
}

TEST_F(OperationsTest, AccountCreationOutcomes) {
  service_->SetStorage(nullptr);
  server_.EnqueueOk(Answer("CreateAccount", Ms("error: EMAIL already used")));
  EXPECT_EQ(service_->CreateAccount("a@b.c", "p<", "F", "L", nullptr, nullptr), service::kCreateEmailUsed);
  EXPECT_EQ(Elements(0), "<EMail>a@b.c</EMail><Password>p&lt;</Password><FirstName>F</FirstName>"
                         "<LastName>L</LastName>");

  server_.EnqueueOk(Answer("CreateAccount", Ms("Name too short")));
  ui_.ExpectMessage("Name too short", MessageIcon::Exclamation);
  EXPECT_EQ(service_->CreateAccount("a@b.c", "p", "F", "L", nullptr, nullptr), service::kCreateFailed);

  server_.EnqueueOk(Answer("CreateAccount", "<UI>8</UI>"));
  EXPECT_EQ(service_->CreateAccount("a@b.c", "p", "F", "L", nullptr, nullptr), 0u);
}

TEST_F(OperationsTest, BlogCreationOffersTheServicesSuggestions) {
  std::array<std::string, service::MorvaneBlogService::kAlternates> alternates{"x", "x", "x", "x"};
  server_.EnqueueOk(Answer("CreateBlog", Ms("Error: BlogURL already used") +
                                             "<Alternates><Alternate>trips2</Alternate><Alternate>trips_"
                                             "</Alternate></Alternates>"));
  EXPECT_EQ(service_->CreateBlog("trips", "My & trips", "", false, alternates, nullptr, nullptr),
            service::kCreateBlogUrlUsed);
  EXPECT_EQ(alternates, (std::array<std::string, 4>{"trips2", "trips_", "", ""}));
  EXPECT_EQ(Elements(0), Auth(false) + "<BlogURL>trips</BlogURL><Title>My &amp; trips</Title><Subtitle>"
                                       "</Subtitle><Visibility>hidden</Visibility>");
}

TEST_F(OperationsTest, AccountCheckComparesSubscriptions) {
  for (const char* name : {"keep", "gone"}) {
    auto blog = user_.MakeBlog(name);
    ASSERT_EQ(blog->Save(), 0u);
    user_.Blogs().InsertBlog(std::move(blog));
  }
  user_.RebuildBlogNames();
  server_.EnqueueOk(Answer("GU", "<UI>7</UI><AT>free</AT><QT>0</QT><SL><SU>keep</SU><SU>new-one</SU>"
                                 "<SU>..\\evil</SU></SL><RR></RR>"));
  server_.EnqueueOk(Answer("EU", ""));
  ui_.ExpectQuestion("Do you want to subscribe to the blog 'new-one'?", false);
  ui_.ExpectQuestion("Do you want to unsubscribe from the 'gone' blog?", false);
  EXPECT_EQ(service_->CheckAccount(nullptr, nullptr), 0u);
  EXPECT_TRUE(ui_.Done());
  ASSERT_EQ(server_.Requests().size(), 2u);
  EXPECT_EQ(Elements(1), Auth(false) + "<EU><SL><SU>gone</SU><SU>keep</SU></SL></EU>");
  EXPECT_EQ(user_.GetProAccount(), 0);
}

TEST_F(OperationsTest, PhotoDownloadsGoToTheBlogsFolderUnderTheirOwnName) {
  const std::string base = "http://127.0.0.1:" + std::to_string(server_.Port());
  model::CWinBlogEntry* entry = AddEntry(8, 0);
  entry->SetFullSizeUrl(base + "/p/full.jpg");
  entry->SetPhotoUrl(base + "/p/photo.jpg");
  entry->SetModified(true);
  server_.EnqueueOk(SmallJpeg(), "image/jpeg");
  EXPECT_EQ(service_->DownloadEntryPhoto(*entry, model::kSize320x240, nullptr, nullptr), 0u);
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].rfind("GET /si.aspx?img=p/photo.jpg&ld=320&q=90 HTTP/1.0\r\nHost: 127.0.0.1:" +
                                            std::to_string(server_.Port()) + "\r\n",
                                        0),
            0u);
  ASSERT_FALSE(entry->GetPhotoPath().empty());
  EXPECT_EQ(platform::PhoneFileName(entry->GetPhotoPath()), "full.jpg");
  std::ifstream in(root_.Host(entry->GetPhotoPath()), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), SmallJpeg());
  EXPECT_TRUE(entry->IsModified());
  EXPECT_EQ(entry->GetPhotoSize(), model::kSize320x240);

  // A name that is not a plain file name is refused and nothing is written.
  entry->SetFullSizeUrl(base + "/p/..");
  server_.EnqueueOk("EVIL", "image/jpeg");
  EXPECT_EQ(service_->DownloadEntryPhoto(*entry, model::kSizeFull, nullptr, nullptr), platform::kErrInvalidName);

  // An address too short fetches nothing and counts as done.
  entry->SetFullSizeUrl("http://x");
  EXPECT_EQ(service_->DownloadEntryPhoto(*entry, model::kSizeFull, nullptr, nullptr), 0u);
  EXPECT_EQ(server_.Requests().size(), 2u);
}

TEST_F(OperationsTest, ADownloadThatIsNotAJpegLeavesTheEntryAndNoFile) {
  const std::string base = "http://127.0.0.1:" + std::to_string(server_.Port());
  model::CWinBlogEntry* entry = AddEntry(8, 0);
  entry->SetFullSizeUrl(base + "/p/full.jpg");
  entry->SetPhotoSize(model::kSizeThumbnails);
  server_.EnqueueOk("<html>busy</html>", "text/html");
  EXPECT_EQ(service_->DownloadEntryPhoto(*entry, model::kSizeFull, nullptr, nullptr), service::kResultInvalidJpeg);
  EXPECT_EQ(entry->GetPhotoSize(), model::kSizeThumbnails);
  EXPECT_TRUE(entry->GetPhotoPath().empty());
  ASSERT_EQ(blog_->ComputePhotoFolder(), 0u);
  EXPECT_TRUE(std::filesystem::is_empty(root_.Host(blog_->GetPhotoFolder())));
}

TEST_F(OperationsTest, ACutDownloadKeepsThePhotoTheEntryHad) {
  const std::string base = "http://127.0.0.1:" + std::to_string(server_.Port());
  ASSERT_EQ(blog_->ComputePhotoFolder(), 0u);
  const std::string photo = blog_->GetPhotoFolder() + "\\full.jpg";
  std::ofstream(root_.Host(photo), std::ios::binary) << SmallJpeg();
  model::CWinBlogEntry* entry = AddEntry(8, 0, photo);
  entry->SetPhotoSize(model::kSize320x240);
  entry->SetPhotoDimensions(16, 8);
  entry->SetFullSizeUrl(base + "/p/full.jpg");
  const std::string jpeg = SmallJpeg();
  server_.EnqueueOk(jpeg.substr(0, jpeg.size() - 2), "image/jpeg");
  EXPECT_EQ(service_->DownloadEntryPhoto(*entry, model::kSizeFull, nullptr, nullptr), service::kResultInvalidJpeg);
  EXPECT_EQ(entry->GetPhotoPath(), photo);
  EXPECT_EQ(entry->GetPhotoSize(), model::kSize320x240);
  uint16_t width = 0, height = 0;
  entry->GetPhotoDimensions(width, height);
  EXPECT_EQ(width, 16);
  std::ifstream in(root_.Host(photo), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), jpeg);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root_.Host(blog_->GetPhotoFolder())), {}), 1);
}

TEST_F(OperationsTest, ThePhotoADownloadReplacesGoesWithTheNextSave) {
  const std::string base = "http://127.0.0.1:" + std::to_string(server_.Port());
  ASSERT_EQ(blog_->ComputePhotoFolder(), 0u);
  const std::string old = "\\My Documents\\old.jpg";
  std::ofstream(root_.Host(old), std::ios::binary) << SmallJpeg();
  model::CWinBlogEntry* entry = AddEntry(8, 0, old);
  entry->SetFullSizeUrl(base + "/p/full.jpg");
  server_.EnqueueOk(SmallJpeg(), "image/jpeg");
  ASSERT_EQ(service_->DownloadEntryPhoto(*entry, model::kSizeFull, nullptr, nullptr), 0u);
  EXPECT_EQ(entry->GetPhotoPath(), blog_->GetPhotoFolder() + "\\full.jpg");
  EXPECT_TRUE(root_.Fs().Exists(old));
  ASSERT_EQ(blog_->Save(), 0u);
  EXPECT_FALSE(root_.Fs().Exists(old));
  EXPECT_TRUE(root_.Fs().Exists(entry->GetPhotoPath()));
}

TEST_F(OperationsTest, BlogSettingsGoUpAndTheAnswerIsTaken) {
  model::CBlogInfo* info = blog_->GetBlogInfo();
  info->title = "Tea & cake";
  info->subtitle = "";
  info->hidden = 1;
  info->modified = true;
  server_.EnqueueOk(Answer("EB", "<BT>Tea &amp; Cake</BT><ST>sub</ST><VI>normal</VI>"));
  EXPECT_EQ(service_->StoreBlogInfo(), 0u);
  EXPECT_EQ(Elements(0), Auth(true) + "<BL><BT>Tea &amp; cake</BT><ST></ST><VI>hidden</VI></BL>");
  EXPECT_EQ(info->title, "Tea & Cake");
  EXPECT_EQ(info->subtitle, "sub");
  EXPECT_EQ(info->hidden, 0);
  EXPECT_FALSE(info->modified);

  // Its errors go to the caller unreported.
  info->modified = true;
  server_.EnqueueOk(Answer("EB", Ms("Error: Invalid Authentication")));
  EXPECT_EQ(service_->StoreBlogInfo(), 8001u);
  EXPECT_TRUE(info->modified);
  EXPECT_TRUE(ui_.Prompts().empty());
}

TEST_F(OperationsTest, ChangeRequestErrors) {
  std::unique_ptr<net::HttpResponse> response;
  service_->SetSyncTimestamp(Time(2026, 2, 2, 0, 0, 0));
  server_.EnqueueOk(Answer("GC", Ms("Error: The Blog is password protected")));
  EXPECT_EQ(service_->RequestChanges(response), service::kErrPasswordProtected);
  EXPECT_TRUE(ui_.Prompts().empty());

  server_.EnqueueOk(Answer("GC", Ms("Error: Invalid timestamp")));
  ui_.ExpectMessage("Timestamp updated.  Please sync again.", MessageIcon::Exclamation);
  EXPECT_EQ(service_->RequestChanges(response), service::kResultAlreadyReported);
  EXPECT_EQ(service_->GetSyncTimestamp(), 0u);
  EXPECT_EQ(response, nullptr);

  server_.EnqueueOk(Answer("GC", Ms("Error: A category is deleted or doesn't exist")));
  ui_.ExpectMessage("Error: A category is deleted or doesn't exist.", MessageIcon::Exclamation);
  EXPECT_EQ(service_->RequestChanges(response), service::kResultAlreadyReported);

  server_.EnqueueOk(Answer("GC", Ms("Error: something new")));
  ui_.ExpectMessage("An unknown error occurred (65535).", MessageIcon::Exclamation);
  EXPECT_EQ(service_->RequestChanges(response), service::kResultAlreadyReported);
  EXPECT_TRUE(ui_.Done());
}

TEST_F(OperationsTest, WebPageAddressesCarryThePort) {
  const std::string host = "127.0.0.1:" + std::to_string(server_.Port());
  EXPECT_EQ(service_->GetBlogPageUrl(), "http://" + host + "/myblog");
  EXPECT_EQ(service_->GetBlogAllCategoriesUrl(), "http://" + host + "/myblog/?albumid=0");
  EXPECT_EQ(service_->GetEntryPreviewUrl(31), "http://" + host + "/myblog/?preview=31");
}

}  // namespace
}  // namespace servicetest
