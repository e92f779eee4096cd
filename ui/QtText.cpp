#include "ui/QtText.h"

#include "platform/StringTable.h"

namespace ui {

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QString Label(uint32_t id) { return Text(platform::LoadString(id)); }

std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace ui
