#include "ui/MessageBox.h"

#include <memory>

#include "platform/DeviceFacts.h"
#include "ui/PhoneMessageBox.h"
#include "ui/PhoneScreen.h"
#include "ui/PhoneWindow.h"
#include "ui/QtText.h"

namespace ui {
namespace {

std::function<int(const MessageBox::Request&)> g_responder;

}  // namespace

int MessageBox::Show(const std::string& text, Icon icon) { return Show(Request{Text(text), icon, false, false}); }

int MessageBox::Ask(const std::string& text, bool defaultNo) {
  return Show(Request{Text(text), Icon::Question, true, defaultNo});
}

int MessageBox::Show(const Request& request) {
  if (g_responder) return g_responder(request);
  PhoneScreen* screen = PhoneScreen::Current();
  std::unique_ptr<PhoneWindow> transient;
  if (!screen) {
    // A message of the start-up, before the phone's window exists.
    const platform::DeviceFacts& facts = platform::DeviceFacts::Current();
    screen = new PhoneScreen(static_cast<int>(facts.screenWidth), static_cast<int>(facts.screenHeight));
    transient = std::make_unique<PhoneWindow>(screen, 1);
    transient->show();
  }
  PhoneMessageBox box(*screen, request);
  return box.Exec();
}

void MessageBox::SetResponder(std::function<int(const Request&)> responder) { g_responder = std::move(responder); }

}  // namespace ui
