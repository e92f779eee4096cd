#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// The program's texts by string id: messages, stage texts and labels, from one
// table shared by the core and both front ends.
namespace platform {

// The text of `id`, or an empty string for an unknown id.
const std::string& LoadString(uint32_t id);
bool HasString(uint32_t id);
// The text of `id` with each "%s" in turn replaced by the next value.
std::string FormatText(uint32_t id, std::initializer_list<std::string_view> values);

}  // namespace platform
