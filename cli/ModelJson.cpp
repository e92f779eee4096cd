#include "cli/ModelJson.h"

#include <cstdio>

#include "net/Digest.h"
#include "platform/TextConversion.h"
#include "platform/TimeValue.h"

namespace cli {

using json = nlohmann::ordered_json;

namespace {

template <class T, class F>
json List(const model::CObjectArray<T>& list, F toJson) {
  json out = json::array();
  for (const auto& obj : list) out.push_back(toJson(*obj));
  return out;
}

json Names(const std::vector<std::u16string>& names) {
  json out = json::array();
  for (const auto& name : names) out.push_back(platform::Utf16ToUtf8(name));
  return out;
}

}  // namespace

json ModelJson::Time(uint32_t value) {
  platform::SystemTime st;
  char text[64] = "";
  if (platform::TimeValueToSystemTime(value, st)) {
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", st.year, st.month, st.day,
                  st.hour, st.minute, st.second);
  }
  return {{"value", value}, {"local", text}};
}

json ModelJson::Entry(const model::CWinBlogEntry& e) {
  uint16_t width = 0;
  uint16_t height = 0;
  e.GetPhotoDimensions(width, height);
  const std::vector<uint8_t>& thumb = e.GetThumbnail();
  auto digest = net::Digest::Sha1(thumb.data(), thumb.size());
  std::string sha1;
  for (uint8_t b : digest) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", b);
    sha1 += hex;
  }
  return {
      {"id", e.GetId()},
      {"categoryId", e.GetCategoryId()},
      {"authorId", e.GetAuthorId()},
      {"title", e.GetTitle()},
      {"caption", e.GetCaption()},
      {"authorName", e.GetAuthorName()},
      {"thumbnailUrl", e.GetThumbnailUrl()},
      {"photoUrl", e.GetPhotoUrl()},
      {"fullSizeUrl", e.GetFullSizeUrl()},
      {"date", Time(e.GetDate())},
      {"date2", Time(e.GetDate2())},
      {"photoBytes", e.GetPhotoBytes()},
      {"photoWidth", width},
      {"photoHeight", height},
      {"photoSize", e.GetPhotoSize()},
      {"uploadSize", e.GetUploadSize()},
      {"flags", e.GetFlags()},
      {"photoPath", e.photoPath},
      {"modified", e.IsModified()},
      {"unconfirmed", e.unconfirmed},
      {"thumbnail", {{"length", thumb.size()}, {"sha1", sha1}}},
  };
}

json ModelJson::Category(const model::CWinBlogAlbum& c) {
  return {{"id", c.GetId()},          {"name", c.GetName()},
          {"url", c.GetUrl()},        {"modified", c.IsModified()},
          {"unconfirmed", c.unconfirmed}};
}

json ModelJson::Comment(const model::CWinBlogComment& c) {
  return {{"entryId", c.GetEntryId()}, {"modified", c.IsModified()},
          {"id", c.GetId()},           {"authorId", c.GetAuthorId()},
          {"text", c.GetText()},       {"authorName", c.GetAuthorName()},
          {"date", Time(c.GetDate())}, {"unconfirmed", c.unconfirmed}};
}

json ModelJson::Database(const model::CWinBlogStorage& blog) {
  const model::CBlogInfo& b = blog.Info();
  return {
      {"kind", "database"},
      {"version", blog.GetVersion()},
      {"ownerId", b.ownerId},
      {"groupType", b.groupType},
      {"urlName", b.urlName},
      {"title", b.title},
      {"subtitle", b.subtitle},
      {"viewPassword", b.viewPassword},
      {"hidden", b.hidden},
      {"readOnly", b.readOnly},
      {"commentsAllowed", b.commentsAllowed},
      {"uploadSize", b.uploadSize},
      {"downloadSize", b.downloadSize},
      {"limitEntries", b.limitEntries},
      {"entryLimit", b.entryLimit},
      {"deleteAfterUpload", b.deleteAfterUpload},
      {"modified", b.modified},
      {"lastSync", Time(blog.GetLastSync())},
      {"showFilter", blog.GetShowFilter()},
      {"categoryFilter", blog.GetCategoryFilter()},
      {"entries", List(blog.Entries(), Entry)},
      {"categories", List(blog.Categories(), Category)},
      {"comments", List(blog.Comments(), Comment)},
      {"deletedEntries", List(blog.DeletedEntries(), Entry)},
      {"deletedCategories", List(blog.DeletedCategories(), Category)},
      {"deletedComments", List(blog.DeletedComments(), Comment)},
  };
}

json ModelJson::User(const model::CWinBlogUser& u) {
  return {{"kind", "user"},
          {"version", u.GetVersion()},
          {"userId", u.GetUserId()},
          {"email", u.GetEmail()},
          {"password", u.GetPassword()},
          {"proAccount", u.GetProAccount()},
          {"quota", u.GetQuota()},
          {"blogNames", Names(u.BlogNames())},
          {"remoteBlogs", Names(u.RemoteBlogs())}};
}

std::string ModelJson::Dump(const json& value) {
  return value.dump(2, ' ', false, json::error_handler_t::replace);
}

}  // namespace cli
