#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace model {
class BlogComment;
class BlogEntry;
class CWinBlogStorage;
class CWinBlogUser;
class ProgressReporter;
}  // namespace model

namespace service {

// One service operation for one blog database: the HTTP client opened around it
// (a failure to open shows "A connection to the Internet could not be made." and
// answers 10201), the database and the account handed to the service client, the
// progress callback attached. The caller saves the database afterwards.
class BlogNetwork {
 public:
  // The sync of one blog, or of one entry alone when its category is known to the
  // service (SyncRunner::SyncBlog); a transfer that could not reach the service
  // says "A connection to the Internet could not be made." as every sync does.
  static uint32_t SyncBlog(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                           model::BlogEntry* entry, model::ProgressReporter* progress);
  // The first sync of a blog just subscribed to, from its sync timestamp
  // (stored afterwards). Answers 0; 10201 when the failure has been shown
  // already, when the HTTP client could not open ("A connection to the Internet
  // could not be made.") or after a cancel ("Sync Cancelled."), all of which
  // keep the subscription; or the code of a failure nobody had reported, now
  // shown (a transport failure as no connection, any other through the common
  // error message), after which the subscription is to be undone.
  static uint32_t SyncNewSubscription(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                                      model::ProgressReporter* progress);
  // The recommended blogs' text from the service's channels file (at most
  // CWinBlogChannels::kMaxText bytes): 0 or the failure's code (10201 when the
  // HTTP client could not open).
  static uint32_t GetChannels(model::ProgressReporter* progress, std::string& text);
  // DownloadPhoto, SendPhotoEmail and PostRemoteEntry report a service that
  // cannot be reached (and answer 10201); other failures the service did not
  // report are left to the caller.
  static uint32_t DownloadPhoto(model::CWinBlogStorage& blog, model::ProgressReporter* progress,
                                model::BlogEntry& entry, uint8_t sizeCode);
  // "AO" for a comment just written; a service that cannot be reached says "A
  // connection to the Internet could not be made." and answers 10201.
  static uint32_t PostComment(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                              model::ProgressReporter* progress, model::BlogComment& comment);
  static uint32_t SendPhotoEmail(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                                 model::ProgressReporter* progress, uint32_t categoryId,
                                 uint32_t entryId, std::string_view recipients,
                                 std::string_view message);
  static uint32_t PostRemoteEntry(model::CWinBlogUser& user, model::CWinBlogStorage& blog,
                                  model::ProgressReporter* progress, uint32_t categoryId,
                                  uint32_t entryId, std::string_view remoteBlog,
                                  std::string_view title, std::string_view caption);
  // The explicit version check, offering again a version the user ignored.
  // Answers whether the user chose to download a newer version; `newerExists`
  // tells whether there is one; `code` is 0 when the file was read, 1223 after
  // Cancel, 31 (nothing shown) when it could not be read.
  static bool CheckForUpdates(model::CWinBlogStorage& blog, model::ProgressReporter* progress,
                              bool& newerExists, uint32_t& code);
};

}  // namespace service
