#pragma once

#include <QElapsedTimer>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "model/ProgressReporter.h"
#include "ui/CIconList.h"
#include "ui/SoftKeyBar.h"

namespace ui {

class PhoneScreen;

// The "Progress" screen of long commands: up to three centred text lines (line
// 0 bold), a busy animation, and "Cancel" as its only soft key. While it exists
// the owner's main window is disabled. The long operation calls Pump (or asks
// IsCancelled), which handles pending events, Cancel included, and advances the
// animation at most once every 30 ms.
class CProgressWnd : public QWidget, public model::ProgressReporter {
  Q_OBJECT

 public:
  static constexpr int kStepMilliseconds = 30;
  static constexpr int kFrames = 4;

  explicit CProgressWnd(PhoneScreen& screen);
  ~CProgressWnd() override;

  // Covers the work area over the owner; disables the owner's main window when
  // it is enabled; shows itself when asked.
  bool Create(QWidget* owner, int lines, bool showNow);
  void Destroy();

  void SetLine(int index, const QString& text);
  void SetLine(int index, uint32_t stringId);
  QString Line(int index) const;
  // Sets the cancelled flag, as the Cancel soft key does.
  void Cancel() { cancelled_ = true; }
  bool Cancelled();
  int Frame() const { return frame_; }
  SoftKeyBar* Bar() const { return bar_; }

  // Progress of the core's operations: plain texts go to line 1, numbered
  // lines to their own line.
  void SetText(std::string_view text) override;
  void SetLine(int index, std::string_view text) override;
  void Pump() override;
  bool IsCancelled() override { return Cancelled(); }
  void ResetCancel() override { cancelled_ = false; }

  // Milliseconds of a monotonic clock; tests give their own.
  void SetClock(std::function<int64_t()> clock);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  PhoneScreen& screen_;
  std::vector<QString> lines_;
  QFont boldFont_;
  int lineHeight_ = 0;
  CIconList busy_;
  int frame_ = 0;
  QPoint animationPos_;
  bool cancelled_ = false;
  QPointer<QWidget> mainWindow_;
  bool disabledMainWindow_ = false;
  QPointer<SoftKeyBar> bar_;
  QString savedCaption_;
  QElapsedTimer timer_;
  std::function<int64_t()> clock_;
  int64_t lastStep_ = 0;
};

}  // namespace ui
