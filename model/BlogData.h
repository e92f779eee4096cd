#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/CObject.h"

namespace model {

// The description of a blog, as the service client and the views see it.
class BlogData : public CObject {
 public:
  virtual uint32_t GetOwnerId() const = 0;
  virtual uint16_t GetGroupType() const = 0;
  virtual uint16_t GetHidden() const = 0;
  virtual bool HasWriteAccess() const = 0;
  virtual bool CommentsAllowed() const = 0;
  virtual const std::string& GetTitle() const = 0;
  virtual const std::string& GetSubtitle() const = 0;
  virtual const std::string& GetViewPassword() const = 0;
  virtual bool IsModified() const = 0;
  virtual void SetOwnerId(uint32_t id) = 0;
  virtual void SetGroupType(uint16_t type) = 0;
  virtual void SetHidden(uint16_t hidden) = 0;
  virtual void SetWriteAccess(bool canWrite) = 0;
  virtual void SetCommentsAllowed(bool allowed) = 0;
  virtual void SetTitle(std::string_view title) = 0;
  virtual void SetSubtitle(std::string_view subtitle) = 0;
  virtual void SetModified(bool modified) = 0;
  // Asks the user for the view password of the hidden blog `blogName`; on OK
  // stores it and answers true.
  virtual bool AskViewPassword(std::string_view blogName) = 0;
};

}  // namespace model
