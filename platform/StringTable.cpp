#include "platform/StringTable.h"

#include <unordered_map>

#include "platform/StringTableData.h"

namespace platform {
namespace {

const std::unordered_map<uint32_t, std::string>& Table() {
  static const std::unordered_map<uint32_t, std::string> table = [] {
    std::unordered_map<uint32_t, std::string> t;
    for (size_t i = 0; i < kStringRowCount; ++i) t.emplace(kStringRows[i].id, kStringRows[i].text);
    return t;
  }();
  return table;
}

}  // namespace

const std::string& LoadString(uint32_t id) {
  static const std::string empty;
  auto it = Table().find(id);
  return it == Table().end() ? empty : it->second;
}

bool HasString(uint32_t id) { return Table().count(id) != 0; }

}  // namespace platform
