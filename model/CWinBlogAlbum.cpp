#include "model/CWinBlogAlbum.h"

#include "model/Archive.h"
#include "model/ModelConstants.h"
#include "platform/TextConversion.h"

namespace model {

const RuntimeClass CWinBlogAlbum::kClass{"CWinBlogAlbum", 0, &CWinBlogAlbum::Create};

std::unique_ptr<CObject> CWinBlogAlbum::Create() { return std::make_unique<CWinBlogAlbum>(); }

void CWinBlogAlbum::CopyFrom(const CWinBlogAlbum& other) {
  const uint32_t oldId = id_;
  *this = other;
  membership_.IdChanged(*this, oldId, id_);
}

void CWinBlogAlbum::SetId(uint32_t id) {
  membership_.IdChanged(*this, id_, id);
  id_ = id;
}

void CWinBlogAlbum::Serialize(Archive& ar) {
  if (ar.IsStoring()) {
    ar.WriteU32(id_);
    ar.WriteString(name_);
    ar.WriteString(url_);
    ar.WriteBool(modified_);
    ar.WriteBool(unconfirmed);
  } else {
    ar.ReadU32(id_) && ar.ReadString(name_) && ar.ReadString(url_) && ar.ReadBool(modified_) &&
        ar.ReadBool(unconfirmed);
  }
}

bool CWinBlogAlbum::HasServiceId() const { return id_ < kFirstLocalCategoryId; }

std::u16string CWinBlogAlbum::GetNameW() const { return platform::Utf8ToUtf16(name_); }

void CWinBlogAlbum::SetNameW(std::u16string_view name) { name_ = platform::Utf16ToUtf8(name); }

}  // namespace model
