#include "ui/CProgressWnd.h"

#include <QCoreApplication>
#include <QPainter>

#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/DisplayScale.h"
#include "ui/PhoneScreen.h"
#include "ui/QtText.h"
#include "ui/SoftKeyBar.h"
#include "platform/StringIds.h"

namespace ui {

CProgressWnd::CProgressWnd(PhoneScreen& screen) : QWidget(&screen), screen_(screen) {
  hide();
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  timer_.start();
  clock_ = [this] { return timer_.elapsed(); };
}

CProgressWnd::~CProgressWnd() { Destroy(); }

bool CProgressWnd::Create(QWidget* owner, int lines, bool showNow) {
  lines_.assign(std::clamp(lines, 1, 3), QString());
  boldFont_ = font();
  boldFont_.setWeight(QFont::Bold);
  lineHeight_ = fontMetrics().height();
  const bool large = screen_.width() > 320 || screen_.height() > 320;
  if (!busy_.Create(large ? 162 : 158, 1, kFrames, large ? 32 : 16, large ? 32 : 16)) return false;
  setGeometry(screen_.WorkRect());
  animationPos_ = QPoint((width() - busy_.Width()) / 2, 4 + 4 * lineHeight_);
  mainWindow_ = screen_.MainWindowOf(owner);
  if (mainWindow_ && mainWindow_->isEnabled()) {
    mainWindow_->setEnabled(false);
    disabledMainWindow_ = true;
  }
  bar_ = new SoftKeyBar(screen_, 201);
  bar_->hide();
  connect(bar_, &SoftKeyBar::CommandChosen, this, [this](uint32_t command) {
    if (command == commands::kCancel) Cancel();
  });
  frame_ = 0;
  lastStep_ = clock_();
  cancelled_ = false;
  if (showNow) show();
  return true;
}

void CProgressWnd::Destroy() {
  // The window below is enabled first, so that it can take the keys back when
  // this one goes.
  if (disabledMainWindow_ && mainWindow_) mainWindow_->setEnabled(true);
  disabledMainWindow_ = false;
  mainWindow_ = nullptr;
  hide();
  delete bar_;
}

void CProgressWnd::SetLine(int index, const QString& text) {
  if (index < 0 || index >= static_cast<int>(lines_.size()) || lines_[index] == text) return;
  lines_[index] = text;
  update();
}

void CProgressWnd::SetLine(int index, uint32_t stringId) {
  SetLine(index, Label(stringId));
}

QString CProgressWnd::Line(int index) const {
  return index >= 0 && index < static_cast<int>(lines_.size()) ? lines_[index] : QString();
}

void CProgressWnd::SetText(std::string_view text) { SetLine(1, text); }

void CProgressWnd::SetLine(int index, std::string_view text) {
  SetLine(index, Text(text));
}

void CProgressWnd::Pump() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  const int64_t now = clock_();
  if (now - lastStep_ < kStepMilliseconds) return;
  lastStep_ = now;
  frame_ = (frame_ + 1) % kFrames;
  if (isVisible()) repaint(QRect(animationPos_, QSize(busy_.Width(), busy_.Height())));
}

bool CProgressWnd::Cancelled() {
  Pump();
  return cancelled_;
}

void CProgressWnd::SetClock(std::function<int64_t()> clock) {
  clock_ = std::move(clock);
  lastStep_ = clock_();
}

void CProgressWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const int inset = DisplayScale::Down(1);
  painter.fillRect(rect().adjusted(inset, inset, -inset, -inset), QColor(225, 240, 255));
  painter.setPen(Qt::black);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].isEmpty()) continue;
    painter.setFont(i == 0 ? boldFont_ : font());
    const QRect line(0, 4 + static_cast<int>(i) * lineHeight_, width(), lineHeight_);
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, lines_[i]);
  }
  busy_.Draw(painter, frame_, animationPos_.x(), animationPos_.y());
}

void CProgressWnd::showEvent(QShowEvent* event) {
  raise();
  savedCaption_ = screen_.Caption();
  screen_.SetCaption(Label(platform::strings::kProgressTitle));
  if (bar_) bar_->show();
  screen_.PushLayer(this);
  setFocus();
  QWidget::showEvent(event);
}

void CProgressWnd::hideEvent(QHideEvent* event) {
  if (bar_) bar_->hide();
  if (!savedCaption_.isEmpty()) screen_.SetCaption(savedCaption_);
  savedCaption_.clear();
  QWidget::hideEvent(event);
  screen_.PopLayer(this);
}

}  // namespace ui
