#pragma once

#include <cstdint>
#include <string>

// The program's texts by string id: messages, stage texts and labels, from one
// table shared by the core and both front ends.
namespace platform {

// The text of `id`, or an empty string for an unknown id.
const std::string& LoadString(uint32_t id);
bool HasString(uint32_t id);

}  // namespace platform
