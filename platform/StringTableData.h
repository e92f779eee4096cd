#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

struct StringRow {
  uint32_t id;
  const char* text;
};

extern const StringRow kStringRows[];
extern const size_t kStringRowCount;

}  // namespace platform
