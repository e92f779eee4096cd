#include "model/CWinBlogComment.h"

#include "model/Archive.h"
#include "platform/TextConversion.h"

namespace model {

const RuntimeClass CWinBlogComment::kClass{"CWinBlogComment", 0, &CWinBlogComment::Create};

std::unique_ptr<CObject> CWinBlogComment::Create() { return std::make_unique<CWinBlogComment>(); }

void CWinBlogComment::CopyFrom(const CWinBlogComment& other) {
  const uint32_t oldId = id_;
  *this = other;
  membership_.IdChanged(*this, oldId, id_);
}

void CWinBlogComment::SetId(uint32_t id) {
  membership_.IdChanged(*this, id_, id);
  id_ = id;
}

void CWinBlogComment::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    ar.WriteU32(entryId_);
    ar.WriteBool(modified_);
    ar.WriteU32(id_);
    ar.WriteU32(authorId_);
    ar.WriteString(text_);
    ar.WriteString(authorName_);
    ar.WriteU32(date_);
    ar.WriteBool(unconfirmed);
  } else {
    ar.ReadU32(entryId_) && ar.ReadBool(modified_) && ar.ReadU32(id_) && ar.ReadU32(authorId_) &&
        ar.ReadString(text_) && ar.ReadString(authorName_) && ar.ReadU32(date_) &&
        ar.ReadBool(unconfirmed);
  }
}

std::u16string CWinBlogComment::GetTextW() const { return platform::Utf8ToUtf16(text_); }

void CWinBlogComment::SetTextW(std::u16string_view text) { text_ = platform::Utf16ToUtf8(text); }

}  // namespace model
