#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/CObject.h"

namespace model {

// The account as the service client sees it: login data, account values and the
// subscription bookkeeping of the account check.
class BlogUser : public CObject {
 public:
  virtual uint32_t GetUserId() const = 0;
  virtual const std::string& GetEmail() const = 0;
  virtual const std::string& GetPassword() const = 0;
  virtual uint16_t GetProAccount() const = 0;
  virtual uint32_t GetQuota() const = 0;
  virtual void SetUserId(uint32_t id) = 0;
  virtual void SetEmail(std::string_view email) = 0;
  virtual void SetPassword(std::string_view password) = 0;
  virtual void SetProAccount(uint16_t pro) = 0;
  virtual void SetQuota(uint32_t quota) = 0;
  virtual void SetRemoteBlogs(const std::vector<std::string>& names) = 0;
  // The urlName of the blog at `index` of the list, or null past the end.
  virtual const std::string* GetBlogNameAt(size_t index) const = 0;
  virtual int16_t FindBlogIndex(std::string_view name) const = 0;
  virtual void MarkAllBlogs() = 0;
  virtual void UnmarkBlog(size_t index) = 0;
  // From `position` on, the first marked blog: its position is written back and
  // its urlName answered; null when there is none.
  virtual const std::string* NextMarkedBlog(size_t& position) const = 0;
  // Asks the user and, on Yes, takes the blog `name` into the account; answers
  // false after No or when no database object can be made for the name.
  virtual bool Subscribe(std::string_view name) = 0;
  // Asks the user and, on Yes, removes the blog `name` from the device; answers
  // false only after No.
  virtual bool Unsubscribe(std::string_view name) = 0;
  virtual void RebuildBlogNames() = 0;
  virtual bool IsAgreedBlog(std::string_view name) const = 0;
};

}  // namespace model
