#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace ui {

// Model text (UTF-8) as Qt text.
QString Text(std::string_view utf8);
// The string-table text of `id` as Qt text.
QString Label(uint32_t id);
// Qt text as model text (UTF-8).
std::string Utf8(const QString& text);

}  // namespace ui
