#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/BlogUser.h"
#include "model/CBlogList.h"
#include "platform/FileStamp.h"

namespace model {

class ProgressReporter;

// The one account of the device: login data, account values, the subscription
// list agreed with the service, the remote blogs, and the list of blog databases
// in the data folder.
class CWinBlogUser : public BlogUser {
 public:
  static const RuntimeClass kClass;
  static std::unique_ptr<CObject> Create();

  // All values empty; the data folder ("My Documents\Morvane\Tessary") is
  // created with its parents when missing.
  CWinBlogUser();
  // A user over the given data folder, which is used as it is (tools that read a
  // user file kept elsewhere).
  explicit CWinBlogUser(std::string dataFolder);
  CWinBlogUser(const CWinBlogUser&) = delete;
  CWinBlogUser& operator=(const CWinBlogUser&) = delete;

  const RuntimeClass* GetRuntimeClass() const override { return &kClass; }
  void Serialize(Archive& ar) override;
  uint32_t GetUserId() const override { return userId_; }
  const std::string& GetEmail() const override { return email_; }
  const std::string& GetPassword() const override { return password_; }
  uint16_t GetProAccount() const override { return proAccount_; }
  uint32_t GetQuota() const override { return quota_; }
  void SetUserId(uint32_t id) override { userId_ = id; }
  void SetEmail(std::string_view email) override { email_ = email; }
  void SetPassword(std::string_view password) override { password_ = password; }
  void SetProAccount(uint16_t pro) override { proAccount_ = pro; }
  void SetQuota(uint32_t quota) override { quota_ = quota; }
  void SetRemoteBlogs(const std::vector<std::string>& names) override;
  const std::string* GetBlogNameAt(size_t index) const override;
  int16_t FindBlogIndex(std::string_view name) const override;
  void MarkAllBlogs() override;
  void UnmarkBlog(size_t index) override;
  const std::string* NextMarkedBlog(size_t& position) const override;
  bool Subscribe(std::string_view name) override;
  bool Unsubscribe(std::string_view name) override;
  void RebuildBlogNames() override;
  bool IsAgreedBlog(std::string_view name) const override;

  // The user file "UserInfo.tsu" in the data folder. LoadUser answers 0 when it was
  // read or is missing, else a failure code; either way it then builds the blog
  // list from the database files. SaveUser writes atomically like a database.
  uint32_t LoadUser();
  uint32_t SaveUser();
  // Brings the account up to date with files another program saved since this
  // one read or wrote them: the user file, and the blog list (databases changed,
  // added or removed). Blogs keep their objects when their file changed, but
  // what pointed into them (entries, categories, comments) is gone; a removed
  // blog's object is destroyed. Answers whether anything was read again, so that
  // the caller refreshes what it shows. Run under the DeviceCommandLock before a
  // command that reads or changes the account or a blog.
  bool ReloadIfChanged();
  CWinBlogStorage* FindBlog(std::u16string_view name) const;
  // The read-only "Sample" blog; answers 0, or -1 when it cannot be made.
  uint32_t CreateSampleBlog();
  // After a change of login: every blog's next sync is a full one (its sync
  // time goes back to 0 and the database is saved).
  void ResetSyncTimes();
  // Makes a database object for `name` in the data folder (not in the list), or
  // null when the name cannot name a file there.
  std::unique_ptr<CWinBlogStorage> MakeBlog(std::string_view name) const;

  const std::string& DataFolder() const { return folder_; }
  std::string UserFilePath() const;
  CBlogList& Blogs() { return blogs_; }
  const CBlogList& Blogs() const { return blogs_; }
  uint32_t GetVersion() const { return version_; }
  const std::vector<std::u16string>& BlogNames() const { return blogNames_; }
  const std::vector<std::u16string>& RemoteBlogs() const { return remoteBlogs_; }

  // Set by the account dialogs when e-mail or password changed; not stored.
  bool credentialsChanged = false;
  // Progress of a running account sync; not owned.
  ProgressReporter* progress = nullptr;

 private:
  uint32_t version_ = 0;
  uint32_t userId_ = 0;
  std::string email_;
  std::string password_;
  uint16_t proAccount_ = 0;
  uint32_t quota_ = 0;
  std::vector<std::u16string> blogNames_;
  std::vector<std::u16string> remoteBlogs_;
  CBlogList blogs_{this};
  std::string folder_;
  // The user file as this object last read or wrote it.
  platform::FileStamp userFileStamp_;

  // Reads the user file over every stored value (all empty when it is missing).
  uint32_t ReadUserFile();
};

}  // namespace model
