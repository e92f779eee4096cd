#pragma once

#include <string>
#include <string_view>

// Model text is UTF-8; the device's 16-bit text is UTF-16. The default code page
// of the device is UTF-8, so file paths convert the same way. Invalid input never
// fails: bad sequences become U+FFFD.
namespace platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace platform
