#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "app/GuiUserInterface.h"
#include "ui/CDialogScreen.h"
#include "ui/MessageBox.h"

namespace uitest {

// Runs `action` once the driver's step has returned, so that the driver can play
// the screens it opens.
template <class Action>
void Later(QObject* context, Action action) {
  QTimer::singleShot(0, context, action);
}

// Plays the user of the dialog screens a test opens. Steps run in order, each
// once the innermost running screen is of its type; message boxes (the core's
// included, through the GUI's user interface) are recorded and answered from a
// queue of answers, OK or No when it is empty. A step never runs while another
// step's action is still running (an action may wait on the network). A screen
// left unanswered for ten seconds fails the test and is cancelled.
class DialogDriver {
 public:
  DialogDriver();
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  template <class Screen>
  DialogDriver& On(std::function<void(Screen&)> action) {
    steps_.push_back([action](ui::CDialogScreen& screen, bool probe) {
      auto* typed = dynamic_cast<Screen*>(&screen);
      if (typed && !probe) action(*typed);
      return typed != nullptr;
    });
    return *this;
  }
  // The answer of the next Yes/No question (kYes or kNo).
  DialogDriver& Answer(int answer);

  bool Done() const { return steps_.empty(); }
  const std::vector<ui::MessageBox::Request>& Messages() const { return messages_; }
  std::vector<QString> MessageTexts() const;
  // Titles of the screens the steps acted on, in order.
  const std::vector<QString>& Screens() const { return screens_; }

  // Typing into a field, key by key, as a user would; refused keys are dropped.
  static void Type(QWidget& field, const QString& text);

 private:
  void Tick();

  QTimer timer_;
  app::GuiUserInterface userInterface_;
  // A step answers whether the screen is its type; with probe false it acts.
  std::deque<std::function<bool(ui::CDialogScreen&, bool probe)>> steps_;
  std::deque<int> answers_;
  std::vector<ui::MessageBox::Request> messages_;
  std::vector<QString> screens_;
  bool acting_ = false;
  ui::CDialogScreen* lastScreen_ = nullptr;
  QElapsedTimer idle_;
  static constexpr int kPatienceMs = 10000;
};

}  // namespace uitest
