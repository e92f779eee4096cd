#include "ui/MessageBox.h"

#include <QMessageBox>
#include <QPointer>

#include "TessaryVersion.h"

namespace ui {
namespace {

QPointer<QWidget> g_owner;
std::function<int(const MessageBox::Request&)> g_responder;

QMessageBox::Icon QtIcon(MessageBox::Icon icon) {
  switch (icon) {
    case MessageBox::Icon::Exclamation: return QMessageBox::Warning;
    case MessageBox::Icon::Error: return QMessageBox::Critical;
    case MessageBox::Icon::Information: return QMessageBox::Information;
    case MessageBox::Icon::Question: return QMessageBox::Question;
    case MessageBox::Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

int MessageBox::Show(const std::string& text, Icon icon) {
  return Show(Request{QString::fromStdString(text), icon, false, false});
}

int MessageBox::Ask(const std::string& text, bool defaultNo) {
  return Show(Request{QString::fromStdString(text), Icon::Question, true, defaultNo});
}

int MessageBox::Show(const Request& request) {
  if (g_responder) return g_responder(request);
  QMessageBox box(QtIcon(request.icon), QStringLiteral(TESSARY_PROGRAM_NAME), request.text,
                  request.yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, g_owner);
  box.setWindowModality(Qt::ApplicationModal);
  if (request.yesNo) box.setDefaultButton(request.defaultNo ? QMessageBox::No : QMessageBox::Yes);
  const int result = box.exec();
  if (!request.yesNo) return kOk;
  return result == QMessageBox::Yes ? kYes : kNo;
}

void MessageBox::SetOwner(QWidget* owner) { g_owner = owner; }

void MessageBox::SetResponder(std::function<int(const Request&)> responder) {
  g_responder = std::move(responder);
}

}  // namespace ui
