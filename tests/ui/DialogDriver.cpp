#include "tests/ui/DialogDriver.h"

#include <gtest/gtest.h>

#include <QTest>

#include "model/UserInterface.h"

namespace uitest {

DialogDriver::DialogDriver() {
  model::UserInterface::SetCurrent(&userInterface_);
  ui::MessageBox::SetResponder([this](const ui::MessageBox::Request& request) {
    messages_.push_back(request);
    if (!request.yesNo) return int(ui::MessageBox::kOk);
    if (answers_.empty()) return int(ui::MessageBox::kNo);
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  });
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  timer_.start(0);
  idle_.start();
}

DialogDriver::~DialogDriver() {
  timer_.stop();
  ui::MessageBox::SetResponder(nullptr);
  model::UserInterface::SetCurrent(nullptr);
}

DialogDriver& DialogDriver::Answer(int answer) {
  answers_.push_back(answer);
  return *this;
}

std::vector<QString> DialogDriver::MessageTexts() const {
  std::vector<QString> texts;
  for (const ui::MessageBox::Request& request : messages_) texts.push_back(request.text);
  return texts;
}

void DialogDriver::Type(QWidget& field, const QString& text) {
  field.setFocus();
  QTest::keyClicks(&field, text);
}

void DialogDriver::Tick() {
  ui::CDialogScreen* screen = ui::CDialogScreen::Active();
  if (acting_) return;
  if (!screen || !screen->isVisible() || screen != lastScreen_) {
    lastScreen_ = screen;
    idle_.restart();
    if (!screen || !screen->isVisible()) return;
  }
  if (steps_.empty() || !steps_.front()(*screen, true)) {
    // A screen nobody means to answer would wait for ever: fail and leave it.
    if (idle_.elapsed() > kPatienceMs) {
      ADD_FAILURE() << "unexpected screen \"" << screen->Title().toStdString() << "\"";
      screen->EndDialog(ui::CDialogScreen::kCancel);
    }
    return;
  }
  acting_ = true;
  const auto step = steps_.front();
  const QString title = screen->Title();
  // The step leaves the queue before it acts, so a screen it ends at once does
  // not see it again.
  steps_.pop_front();
  screens_.push_back(title);
  step(*screen, false);
  acting_ = false;
  idle_.restart();
}

}  // namespace uitest
