#pragma once

#include "model/BlogAlbum.h"
#include "model/ListMembership.h"

namespace model {

// A category of the device: stored in the blog database, named in UTF-8.
class CWinBlogAlbum : public BlogAlbum {
 public:
  static const RuntimeClass kClass;
  static std::unique_ptr<CObject> Create();

  CWinBlogAlbum() = default;
  // Deep copy of every field.
  void CopyFrom(const CWinBlogAlbum& other);

  const RuntimeClass* GetRuntimeClass() const override { return &kClass; }
  void Serialize(Archive& ar) override;
  bool IsModified() const override { return modified_; }
  uint32_t GetId() const override { return id_; }
  const std::string& GetName() const override { return name_; }
  const std::string& GetUrl() const override { return url_; }
  void SetModified(bool modified) override { modified_ = modified; }
  void SetId(uint32_t id) override;
  void SetName(std::string_view name) override { name_ = name; }
  void SetUrl(std::string_view url) override { url_ = url; }
  bool HasServiceId() const override;
  virtual void ClearUnconfirmed() { unconfirmed = false; }
  virtual std::u16string GetNameW() const;
  virtual void SetNameW(std::u16string_view name);

  // The sync mark; the database sets it directly.
  bool unconfirmed = false;

  // The list that holds the object.
  ListMembership& Membership() { return membership_; }

 private:
  uint32_t id_ = 0;
  std::string name_;
  std::string url_;
  bool modified_ = true;
  ListMembership membership_;
};

}  // namespace model
