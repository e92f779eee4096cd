#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/CObject.h"

namespace model {

// A comment on an entry, as the service client and the database see it.
class BlogComment : public CObject {
 public:
  virtual uint32_t GetEntryId() const = 0;
  virtual bool IsModified() const = 0;
  virtual uint32_t GetId() const = 0;
  virtual uint32_t GetAuthorId() const = 0;
  virtual const std::string& GetText() const = 0;
  virtual const std::string& GetAuthorName() const = 0;
  virtual uint32_t GetDate() const = 0;
  virtual void SetEntryId(uint32_t id) = 0;
  virtual void SetModified(bool modified) = 0;
  virtual void SetId(uint32_t id) = 0;
  virtual void SetAuthorId(uint32_t id) = 0;
  virtual void SetText(std::string_view text) = 0;
  virtual void SetAuthorName(std::string_view name) = 0;
  virtual void SetDate(uint32_t date) = 0;
  virtual bool HasId() const = 0;
};

}  // namespace model
