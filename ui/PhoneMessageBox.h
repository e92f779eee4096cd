#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/MessageBox.h"
#include "ui/SoftKeyBar.h"

class QEventLoop;

namespace ui {

class PhoneScreen;

// A message box as the phone shows it: over the phone's work area, with the
// caption "Tessary" in the tray, its icon and text, and its buttons on the soft
// keys (OK or Yes on the left, No on the right). Enter presses the default
// button; Back answers No, or closes a box that has only OK.
class PhoneMessageBox : public QWidget {
  Q_OBJECT

 public:
  // The soft-key bar of a Yes/No box.
  static constexpr uint32_t kYesNoBar = 0xF100;

  PhoneMessageBox(PhoneScreen& screen, const MessageBox::Request& request);
  ~PhoneMessageBox() override;

  // Shows the box and runs until it is answered: kOk, kYes or kNo.
  int Exec();
  // Answers the box as its buttons do.
  void Answer(int answer);
  SoftKeyBar* Bar() const { return bar_; }
  // The innermost box showing now, or nullptr.
  static PhoneMessageBox* Active();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  PhoneScreen& screen_;
  MessageBox::Request request_;
  QPointer<SoftKeyBar> bar_;
  QEventLoop* loop_ = nullptr;
  int answer_ = 0;
  bool backDown_ = false;
};

}  // namespace ui
