#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace model {

class CObject;

// The class record of a serialisable class: its name as written in archives, its
// schema number and a factory that makes an empty object with the initial values.
struct RuntimeClass {
  const char* name;
  uint16_t schema;
  std::unique_ptr<CObject> (*create)();
};

// The record of one of the five serialisable classes by its exact name, or null.
const RuntimeClass* FindRuntimeClass(std::string_view name);

}  // namespace model
