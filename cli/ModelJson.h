#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"

namespace cli {

// The model objects as JSON, under their field names: time values as
// {"value": N, "local": "YYYY-MM-DDTHH:MM:SS"}, thumbnails as {"length", "sha1"},
// lists in stored order.
class ModelJson {
 public:
  static nlohmann::ordered_json Time(uint32_t value);
  static nlohmann::ordered_json Entry(const model::CWinBlogEntry& entry);
  static nlohmann::ordered_json Category(const model::CWinBlogAlbum& category);
  static nlohmann::ordered_json Comment(const model::CWinBlogComment& comment);
  static nlohmann::ordered_json Database(const model::CWinBlogStorage& blog);
  static nlohmann::ordered_json User(const model::CWinBlogUser& user);
  // Text that may hold invalid UTF-8, printed without failing.
  static std::string Dump(const nlohmann::ordered_json& value);
};

}  // namespace cli
