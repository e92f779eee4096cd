#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/CObject.h"

namespace model {

// A blog's category, as the service client and the database see it.
class BlogAlbum : public CObject {
 public:
  virtual bool IsModified() const = 0;
  virtual uint32_t GetId() const = 0;
  virtual const std::string& GetName() const = 0;
  virtual const std::string& GetUrl() const = 0;
  virtual void SetModified(bool modified) = 0;
  virtual void SetId(uint32_t id) = 0;
  virtual void SetName(std::string_view name) = 0;
  virtual void SetUrl(std::string_view url) = 0;
  // The id is one the service gave (below the temporary range).
  virtual bool HasServiceId() const = 0;
};

}  // namespace model
