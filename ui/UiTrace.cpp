#include "ui/UiTrace.h"

#include <QFile>
#include <cstdlib>

namespace ui {

bool UiTrace::Enabled() {
  static const bool enabled = std::getenv("TESSARY_UI_TRACE") != nullptr;
  return enabled;
}

void UiTrace::Write(const QString& kind, const QString& detail) {
  if (!Enabled()) return;
  QFile file(QString::fromLocal8Bit(std::getenv("TESSARY_UI_TRACE")));
  if (!file.open(QIODevice::Append | QIODevice::Text)) return;
  QString line = kind + QLatin1Char(' ') + detail;
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  file.write((line + QLatin1Char('\n')).toUtf8());
}

}  // namespace ui
