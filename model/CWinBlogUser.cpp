#include "model/CWinBlogUser.h"

#include "model/Archive.h"
#include "model/ArchiveFile.h"
#include "model/NoCase.h"
#include "model/UserInterface.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextConversion.h"

namespace model {

namespace {

// The format version this program writes.
constexpr uint32_t kFileVersion = 1;
constexpr const char* kUserFileName = "UserInfo.tsu";
constexpr const char* kDataSubfolder = "Morvane\\Tessary";

void WriteNames(Archive& ar, const std::vector<std::u16string>& names) {
  ar.WriteCount(static_cast<uint32_t>(names.size()));
  for (const std::u16string& name : names) ar.WriteWString(name);
}

bool ReadNames(Archive& ar, std::vector<std::u16string>& names) {
  names.clear();
  uint32_t count = 0;
  if (!ar.ReadCount(count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    std::u16string name;
    if (!ar.ReadWString(name)) return false;
    names.push_back(std::move(name));
  }
  return true;
}

}  // namespace

const RuntimeClass CWinBlogUser::kClass{"CWinBlogUser", 0, &CWinBlogUser::Create};

std::unique_ptr<CObject> CWinBlogUser::Create() { return std::make_unique<CWinBlogUser>(); }

CWinBlogUser::CWinBlogUser()
    : folder_(platform::JoinPhonePath(platform::DeviceFileSystem::MyDocuments(), kDataSubfolder)) {
  platform::DeviceFileSystem& fs = platform::DeviceFileSystem::Current();
  if (!fs.IsDirectory(folder_)) fs.CreateFolders(folder_);
}

CWinBlogUser::CWinBlogUser(std::string dataFolder) : folder_(std::move(dataFolder)) {}

std::string CWinBlogUser::UserFilePath() const {
  return platform::JoinPhonePath(folder_, kUserFileName);
}

void CWinBlogUser::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    version_ = kFileVersion;
    ar.WriteU32(version_);
    ar.WriteU32(userId_);
    ar.WriteString(email_);
    ar.WriteString(password_);
    ar.WriteU16(proAccount_);
    ar.WriteU32(quota_);
    WriteNames(ar, blogNames_);
    WriteNames(ar, remoteBlogs_);
    return;
  }
  if (ar.ReadU32(version_) && ar.ReadU32(userId_) && ar.ReadString(email_) &&
      ar.ReadString(password_) && ar.ReadU16(proAccount_) && ar.ReadU32(quota_) &&
      ReadNames(ar, blogNames_) && version_ != 0) {
    ReadNames(ar, remoteBlogs_);
  }
}

uint32_t CWinBlogUser::ReadUserFile() {
  version_ = 0;
  userId_ = 0;
  email_.clear();
  password_.clear();
  proAccount_ = 0;
  quota_ = 0;
  blogNames_.clear();
  remoteBlogs_.clear();
  archivefile::FileBytes bytes;
  uint32_t rc = archivefile::ReadAll(UserFilePath(), bytes, &userFileStamp_);
  if (rc == 0) {
    Archive ar = Archive::ForReading(bytes.data.get(), bytes.size);
    Serialize(ar);
    rc = ar.Error();
  } else if (rc == platform::kErrFileNotFound || rc == platform::kErrPathNotFound) {
    userFileStamp_ = platform::FileStamp{};
    rc = 0;
  }
  return rc;
}

uint32_t CWinBlogUser::LoadUser() {
  const uint32_t rc = ReadUserFile();
  blogs_.Clear();
  blogs_.LoadBlogs(folder_);
  return rc;
}

bool CWinBlogUser::ReloadIfChanged() {
  bool changed = false;
  if (platform::DeviceFileSystem::Current().Stamp(UserFilePath()) != userFileStamp_) {
    ReadUserFile();
    changed = true;
  }
  return blogs_.ReloadIfChanged(folder_) || changed;
}

uint32_t CWinBlogUser::SaveUser() {
  bool created = false;
  uint32_t rc = archivefile::WriteAtomically(UserFilePath(), *this, created, &userFileStamp_);
  if (!created) {
    UserInterface::Current().ShowMessage(platform::LoadString(platform::strings::kSaveFailed), MessageIcon::Error);
    return rc;
  }
  return rc == 0 ? 0 : 0xFFFFFFFFu;
}

void CWinBlogUser::SetRemoteBlogs(const std::vector<std::string>& names) {
  remoteBlogs_.clear();
  for (const std::string& name : names) remoteBlogs_.push_back(platform::Utf8ToUtf16(name));
}

const std::string* CWinBlogUser::GetBlogNameAt(size_t index) const {
  return index < blogs_.Count() ? &blogs_.At(index)->Info().urlName : nullptr;
}

int16_t CWinBlogUser::FindBlogIndex(std::string_view name) const {
  for (size_t i = 0; i < blogs_.Count() && i < 0x7FFF; ++i) {
    if (EqualsNoCase(blogs_.At(i)->Info().urlName, name)) return static_cast<int16_t>(i);
  }
  return -1;
}

void CWinBlogUser::MarkAllBlogs() {
  for (const auto& blog : blogs_) blog->syncMark = true;
}

void CWinBlogUser::UnmarkBlog(size_t index) {
  if (index < blogs_.Count()) blogs_.At(index)->syncMark = false;
}

const std::string* CWinBlogUser::NextMarkedBlog(size_t& position) const {
  for (size_t i = position; i < blogs_.Count(); ++i) {
    if (blogs_.At(i)->syncMark) {
      position = i;
      return &blogs_.At(i)->Info().urlName;
    }
  }
  return nullptr;
}

void CWinBlogUser::RebuildBlogNames() {
  blogNames_.clear();
  for (const auto& blog : blogs_) blogNames_.push_back(platform::Utf8ToUtf16(blog->Info().urlName));
}

bool CWinBlogUser::IsAgreedBlog(std::string_view name) const {
  const std::u16string wide = platform::Utf8ToUtf16(name);
  for (const std::u16string& agreed : blogNames_) {
    if (EqualsNoCase(agreed, wide)) return true;
  }
  return false;
}

CWinBlogStorage* CWinBlogUser::FindBlog(std::u16string_view name) const {
  int16_t i = FindBlogIndex(platform::Utf16ToUtf8(name));
  return i < 0 ? nullptr : blogs_.At(static_cast<size_t>(i));
}

std::unique_ptr<CWinBlogStorage> CWinBlogUser::MakeBlog(std::string_view name) const {
  return CWinBlogStorage::ForName(folder_, name);
}

uint32_t CWinBlogUser::CreateSampleBlog() {
  std::unique_ptr<CWinBlogStorage> blog = MakeBlog("Sample");
  if (!blog) return 0xFFFFFFFFu;
  CBlogInfo* info = blog->GetBlogInfo();
  info->urlName = "sample";
  info->readOnly = true;
  info->title = "Sample Blog";
  blog->Save();
  blogs_.InsertBlog(std::move(blog));
  return 0;
}

void CWinBlogUser::ResetSyncTimes() {
  for (const auto& blog : blogs_) {
    blog->SetLastSync(0);
    blog->Save();
  }
}

}  // namespace model
