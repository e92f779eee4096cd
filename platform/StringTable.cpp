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

std::string FormatText(uint32_t id, std::initializer_list<std::string_view> values) {
  std::string text = LoadString(id);
  size_t from = 0;
  for (std::string_view value : values) {
    const size_t at = text.find("%s", from);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    from = at + value.size();
  }
  return text;
}

}  // namespace platform
