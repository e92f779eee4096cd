#pragma once

#include "model/BlogData.h"

namespace model {

// The description and settings of one blog, embedded in its database object,
// which writes these fields itself.
class CBlogInfo : public BlogData {
 public:
  // Initial values; the download size depends on the screen of the device.
  CBlogInfo();

  const RuntimeClass* GetRuntimeClass() const override { return nullptr; }
  void Serialize(Archive&) override {}
  uint32_t GetOwnerId() const override { return ownerId; }
  uint16_t GetGroupType() const override { return groupType; }
  uint16_t GetHidden() const override { return hidden; }
  bool HasWriteAccess() const override { return !readOnly; }
  bool CommentsAllowed() const override { return commentsAllowed; }
  const std::string& GetTitle() const override { return title; }
  const std::string& GetSubtitle() const override { return subtitle; }
  const std::string& GetViewPassword() const override { return viewPassword; }
  bool IsModified() const override { return modified; }
  void SetOwnerId(uint32_t id) override { ownerId = id; }
  void SetGroupType(uint16_t type) override { groupType = type; }
  void SetHidden(uint16_t value) override { hidden = value; }
  void SetWriteAccess(bool canWrite) override { readOnly = !canWrite; }
  void SetCommentsAllowed(bool allowed) override { commentsAllowed = allowed; }
  void SetTitle(std::string_view text) override { title = text; }
  void SetSubtitle(std::string_view text) override { subtitle = text; }
  void SetModified(bool value) override { modified = value; }
  bool AskViewPassword(std::string_view blogName) override;

  // The title, or the urlName when the title is empty.
  const std::string& DisplayName() const { return title.empty() ? urlName : title; }

  // Longest view password the dialog accepts.
  static constexpr size_t kMaxViewPassword = 31;

  // Fields in file order; the blog-preferences code sets them directly.
  uint32_t ownerId = 0;
  uint16_t groupType = 0;
  std::string urlName;
  std::string extra1;  // carried in the file, never used
  std::string extra2;
  std::string title;
  std::string subtitle;
  std::string viewPassword;
  uint16_t hidden = 0;
  bool readOnly = false;
  bool commentsAllowed = false;
  uint16_t uploadSize = 3;
  uint16_t downloadSize = 2;
  bool limitEntries = true;
  uint16_t entryLimit = 25;
  bool deleteAfterUpload = false;
  uint8_t reserved = 0;
  bool modified = false;
};

}  // namespace model
