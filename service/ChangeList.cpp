#include "service/ChangeList.h"

#include <memory>

#include "model/BlogAlbum.h"
#include "model/BlogComment.h"
#include "model/BlogData.h"
#include "model/BlogEntry.h"
#include "model/LocalBlogStorage.h"
#include "net/ReadOnlyMemoryStream.h"
#include "net/XmlReader.h"
#include "service/AnswerScanner.h"

namespace service {

namespace {

constexpr uint32_t kStageProcessing = 9;
constexpr uint32_t kEntriesPerReport = 8;
constexpr uint16_t kGroupBlog = 1;

// The fields of one child, each searched from the child's start.
class Fields {
 public:
  explicit Fields(const std::string& content)
      : stream_(content.data(), static_cast<uint32_t>(content.size())) {}

  bool Text(std::string_view tag, uint32_t limit, std::string& out) {
    stream_.Seek(0);
    return AnswerScanner::ReadText(stream_, tag, limit, out);
  }
  uint32_t Number(std::string_view tag, bool* found = nullptr) {
    stream_.Seek(0);
    uint32_t value = 0;
    const bool present = AnswerScanner::ReadNumber(stream_, tag, value);
    if (found != nullptr) *found = present;
    return present ? value : 0;
  }
  std::string Text(std::string_view tag, uint32_t limit) {
    std::string out;
    Text(tag, limit, out);
    return out;
  }

 private:
  net::ReadOnlyMemoryStream stream_;
};

bool FindList(net::Stream& stream, std::string_view name) {
  const uint32_t start = stream.GetPosition();
  if (net::XmlReader::FindOpenTag(stream, name)) return true;
  stream.Seek(start);
  return false;
}

}  // namespace

ChangeList::ChangeList(model::LocalBlogStorage& storage, net::Http& http, net::ProgressCallback callback,
                       void* context, bool fullDownload)
    : storage_(storage), http_(http), callback_(callback), context_(context), fullDownload_(fullDownload) {}

bool ChangeList::IsDeleted(const std::string& startTag) {
  std::string value;
  return AnswerScanner::Attribute(startTag, "D", value) && !value.empty() && value[0] == 't';
}

uint32_t ChangeList::Apply(net::Stream& answer) {
  if (fullDownload_) {
    storage_.MarkCategoriesUnconfirmed();
    storage_.MarkEntriesUnconfirmed();
    storage_.MarkCommentsUnconfirmed();
  }
  std::string text;
  if (AnswerScanner::ReadText(answer, "TS", 31, text) && !text.empty()) {
    timestamp_ = http_.ParseTimestamp(text);
    hasTimestamp_ = true;
  }

  std::string startTag;
  std::string content;
  if (FindList(answer, "BS") && net::XmlReader::FindOpenTag(answer, "BL", "BS") &&
      AnswerScanner::ReadChild(answer, "BL", startTag, content)) {
    ApplyBlog(content);
  }
  if (FindList(answer, "CS")) {
    while (net::XmlReader::FindOpenTag(answer, "CA", "CS")) {
      if (!AnswerScanner::ReadChild(answer, "CA", startTag, content)) break;
      if (uint32_t code = ApplyCategory(startTag, content); code != 0) return code;
    }
  }
  if (FindList(answer, "PS")) {
    uint32_t walked = 0;
    while (net::XmlReader::FindOpenTag(answer, "PI", "PS")) {
      if (!AnswerScanner::ReadChild(answer, "PI", startTag, content)) break;
      if (uint32_t code = ApplyEntry(startTag, content); code != 0) return code;
      if (walked++ % kEntriesPerReport == 0 && callback_ != nullptr) {
        net::ProgressRecord record;
        record.stage = kStageProcessing;
        callback_(context_, &record);
      }
    }
  }
  if (FindList(answer, "OS")) {
    while (net::XmlReader::FindOpenTag(answer, "OM", "OS")) {
      if (!AnswerScanner::ReadChild(answer, "OM", startTag, content)) break;
      if (uint32_t code = ApplyComment(startTag, content); code != 0) return code;
    }
  }
  if (fullDownload_) {
    storage_.DropUnconfirmedCategories();
    storage_.DropUnconfirmedEntries();
    storage_.DropUnconfirmedComments();
  }
  return 0;
}

void ChangeList::ApplyBlog(const std::string& content) {
  Fields f(content);
  model::BlogData* info = storage_.GetBlogInfo();
  std::string title;
  std::string subtitle;
  std::string text;
  const bool hasTitle = f.Text("BT", 127, title);
  const bool hasSubtitle = f.Text("ST", 127, subtitle);
  if (f.Text("TP", 31, text)) info->SetGroupType(text == "normal" ? 0 : kGroupBlog);
  std::string visibility;
  const bool hasVisibility = f.Text("VI", 31, visibility);
  if (f.Text("WA", 31, text)) info->SetWriteAccess(text == "yes");
  if (f.Text("CM", 31, text)) info->SetCommentsAllowed(text == "yes");
  bool hasOwner = false;
  const uint32_t owner = f.Number("BO", &hasOwner);
  if (hasOwner) info->SetOwnerId(owner);
  if (!info->IsModified()) {
    if (hasTitle) info->SetTitle(title);
    if (hasSubtitle) info->SetSubtitle(subtitle);
    if (hasVisibility) info->SetHidden(visibility == "normal" ? 0 : 1);
  }
  storage_.BlogInfoChanged();
}

uint32_t ChangeList::ApplyCategory(const std::string& startTag, const std::string& content) {
  Fields f(content);
  const bool deleted = IsDeleted(startTag);
  const uint32_t id = f.Number("CI");
  const std::string name = f.Text("NM", 127);
  const std::string url = f.Text("UR", 199);
  if (id == 0 || name.empty()) return 0;

  if (model::BlogAlbum* known = storage_.FindCategory(id)) {
    if (deleted) {
      storage_.RemoveCategory(*known, true);
      return 0;
    }
    uint32_t code = 0;
    if (!known->IsModified()) {
      known->SetName(name);
      known->SetUrl(url);
      known->SetModified(false);
      code = storage_.AddCategory(*known);
    }
    if (fullDownload_) storage_.ConfirmCategory(*known);
    return code;
  }
  if (model::BlogAlbum* local = storage_.FindLocalCategory(name)) {
    if (deleted) {
      storage_.RemoveCategory(*local, true);
      return 0;
    }
    const uint32_t oldId = local->GetId();
    local->SetId(id);
    local->SetUrl(url);
    local->SetModified(false);
    const uint32_t code = storage_.AddCategory(*local);
    storage_.MoveCategoryEntries(oldId, id);
    if (fullDownload_) storage_.ConfirmCategory(*local);
    return code;
  }
  if (deleted) return 0;
  std::unique_ptr<model::BlogAlbum> category = storage_.NewCategory();
  category->SetId(id);
  category->SetName(name);
  category->SetUrl(url);
  category->SetModified(false);
  return storage_.AddCategory(*category);
}

uint32_t ChangeList::ApplyEntry(const std::string& startTag, const std::string& content) {
  Fields f(content);
  const bool deleted = IsDeleted(startTag);
  const bool group = storage_.GetBlogInfo()->GetGroupType() == kGroupBlog;
  const uint32_t categoryId = f.Number("CI");
  const uint32_t authorId = group ? f.Number("UI") : 0;
  const uint32_t id = f.Number("ID");
  const std::string title = f.Text("TI", 127);
  const std::string caption = f.Text("CP", 7999);
  const std::string author = group ? f.Text("BY", 63) : std::string();
  const std::string fullUrl = f.Text("OU", 127);
  const std::string photoUrl = f.Text("PU", 127);
  const std::string thumbUrl = f.Text("TU", 127);
  std::string text;
  const uint32_t date = f.Text("PD", 31, text) ? http_.ParseTimestamp(text) : 0;
  const uint32_t date2 = f.Text("TD", 31, text) ? http_.ParseTimestamp(text) : 0;
  if (id == 0) return 0;

  if (model::BlogEntry* known = storage_.FindEntry(id)) {
    if (deleted) {
      storage_.DestroyEntry(*known);
      return 0;
    }
    uint32_t code = 0;
    if (!known->IsModified()) {
      known->SetCategoryId(categoryId);
      if (group) {
        known->SetAuthorId(authorId);
        known->SetAuthorName(author);
      }
      known->SetTitle(title);
      known->SetCaption(caption);
      known->SetFullSizeUrl(fullUrl);
      known->SetPhotoUrl(photoUrl);
      known->SetThumbnailUrl(thumbUrl);
      known->SetDate(date);
      known->SetModified(false);
      code = storage_.AddEntry(*known);
    }
    if (fullDownload_) storage_.ConfirmEntry(*known);
    return code;
  }
  const std::string_view captionView = caption;
  if (model::BlogEntry* local = storage_.FindLocalEntry(categoryId, title, &captionView, date)) {
    if (deleted) {
      storage_.DestroyEntry(*local);
      return 0;
    }
    local->SetId(id);
    if (group) {
      local->SetAuthorId(authorId);
      local->SetAuthorName(author);
    }
    local->SetFullSizeUrl(fullUrl);
    local->SetPhotoUrl(photoUrl);
    local->SetThumbnailUrl(thumbUrl);
    local->SetModified(false);
    const uint32_t code = storage_.AddEntry(*local);
    if (fullDownload_) storage_.ConfirmEntry(*local);
    return code;
  }
  if (deleted) return 0;
  std::unique_ptr<model::BlogEntry> entry = storage_.NewEntry();
  entry->SetId(id);
  entry->SetCategoryId(categoryId);
  entry->SetAuthorId(authorId);
  entry->SetTitle(title);
  entry->SetCaption(caption);
  entry->SetAuthorName(author);
  entry->SetFullSizeUrl(fullUrl);
  entry->SetPhotoUrl(photoUrl);
  entry->SetThumbnailUrl(thumbUrl);
  entry->SetDate(date);
  entry->SetDate2(date2);
  entry->SetModified(false);
  if (!fullDownload_) entry->SetNew(true);
  return storage_.AddEntry(*entry);
}

uint32_t ChangeList::ApplyComment(const std::string& startTag, const std::string& content) {
  Fields f(content);
  const bool deleted = IsDeleted(startTag);
  const uint32_t id = f.Number("OI");
  const uint32_t entryId = f.Number("ID");
  const uint32_t authorId = f.Number("UI");
  const std::string author = f.Text("BY", 63);
  std::string text;
  const uint32_t date = f.Text("OD", 31, text) ? http_.ParseTimestamp(text) : 0;
  text = f.Text("OT", 7999);
  if (id == 0) return 0;

  if (model::BlogComment* known = storage_.FindComment(id)) {
    if (deleted) {
      storage_.RemoveComment(*known, true);
      return 0;
    }
    uint32_t code = 0;
    if (!known->IsModified()) {
      known->SetEntryId(entryId);
      known->SetAuthorId(authorId);
      known->SetText(text);
      known->SetAuthorName(author);
      known->SetDate(date);
      known->SetModified(false);
      code = storage_.AddComment(*known);
    }
    if (fullDownload_) storage_.ConfirmComment(*known);
    return code;
  }
  const std::string_view textView = text;
  if (model::BlogComment* local = storage_.FindLocalComment(entryId, &textView, date)) {
    if (deleted) {
      storage_.RemoveComment(*local, true);
      return 0;
    }
    local->SetId(id);
    local->SetAuthorId(authorId);
    local->SetAuthorName(author);
    local->SetModified(false);
    const uint32_t code = storage_.AddComment(*local);
    if (fullDownload_) storage_.ConfirmComment(*local);
    return code;
  }
  if (deleted) return 0;
  model::BlogEntry* entry = storage_.FindEntry(entryId);
  if (fullDownload_ && entry == nullptr) return 0;
  std::unique_ptr<model::BlogComment> comment = storage_.NewComment();
  comment->SetId(id);
  comment->SetEntryId(entryId);
  comment->SetAuthorId(authorId);
  comment->SetText(text);
  comment->SetAuthorName(author);
  comment->SetDate(date);
  comment->SetModified(false);
  const uint32_t code = storage_.AddComment(*comment);
  if (code != 0) return code;
  if (!fullDownload_ && entry != nullptr && entry->SetNewComments(true)) return storage_.AddEntry(*entry);
  return 0;
}

}  // namespace service
