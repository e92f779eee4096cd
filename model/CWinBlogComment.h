#pragma once

#include "model/BlogComment.h"
#include "model/ListMembership.h"

namespace model {

// A comment of the device, stored in the blog database.
class CWinBlogComment : public BlogComment {
 public:
  static const RuntimeClass kClass;
  static std::unique_ptr<CObject> Create();

  CWinBlogComment() = default;
  void CopyFrom(const CWinBlogComment& other);

  const RuntimeClass* GetRuntimeClass() const override { return &kClass; }
  void Serialize(Archive& ar) override;
  uint32_t GetEntryId() const override { return entryId_; }
  bool IsModified() const override { return modified_; }
  uint32_t GetId() const override { return id_; }
  uint32_t GetAuthorId() const override { return authorId_; }
  const std::string& GetText() const override { return text_; }
  const std::string& GetAuthorName() const override { return authorName_; }
  uint32_t GetDate() const override { return date_; }
  void SetEntryId(uint32_t id) override { entryId_ = id; }
  void SetModified(bool modified) override { modified_ = modified; }
  void SetId(uint32_t id) override;
  void SetAuthorId(uint32_t id) override { authorId_ = id; }
  void SetText(std::string_view text) override { text_ = text; }
  void SetAuthorName(std::string_view name) override { authorName_ = name; }
  void SetDate(uint32_t date) override { date_ = date; }
  bool HasId() const override { return id_ != 0; }
  virtual void ClearUnconfirmed() { unconfirmed = false; }
  virtual std::u16string GetTextW() const;
  virtual void SetTextW(std::u16string_view text);

  bool unconfirmed = false;

  // The list that holds the object.
  ListMembership& Membership() { return membership_; }

 private:
  uint32_t entryId_ = 0;
  bool modified_ = false;
  uint32_t id_ = 0;
  uint32_t authorId_ = 0;
  std::string text_;
  std::string authorName_;
  uint32_t date_ = 0;
  ListMembership membership_;
};

}  // namespace model
