#include "ui/PhoneMessageBox.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

#include "TessaryVersion.h"
#include "ui/CommandIds.h"
#include "ui/DisplayScale.h"
#include "ui/PhoneScreen.h"
#include "ui/SoftKeyBar.h"
#include "ui/UiTrace.h"

namespace ui {
namespace {

PhoneMessageBox* g_active = nullptr;

QStyle::StandardPixmap IconPixmap(MessageBox::Icon icon) {
  switch (icon) {
    case MessageBox::Icon::Exclamation: return QStyle::SP_MessageBoxWarning;
    case MessageBox::Icon::Error: return QStyle::SP_MessageBoxCritical;
    case MessageBox::Icon::Information: return QStyle::SP_MessageBoxInformation;
    case MessageBox::Icon::Question: return QStyle::SP_MessageBoxQuestion;
    case MessageBox::Icon::None: break;
  }
  return QStyle::SP_CustomBase;
}

}  // namespace

PhoneMessageBox::PhoneMessageBox(PhoneScreen& screen, const MessageBox::Request& request)
    : QWidget(&screen), screen_(screen), request_(request) {
  hide();
  setObjectName(QStringLiteral("messageBox"));
  setGeometry(screen.WorkRect());
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  bar_ = new SoftKeyBar(screen, request.yesNo ? kYesNoBar : 191);
  bar_->hide();
  connect(bar_, &SoftKeyBar::CommandChosen, this, [this](uint32_t command) {
    Answer(command == commands::kNo ? MessageBox::kNo : request_.yesNo ? MessageBox::kYes : MessageBox::kOk);
  });
}

PhoneMessageBox::~PhoneMessageBox() {
  delete bar_;
  screen_.PopLayer(this);
}

PhoneMessageBox* PhoneMessageBox::Active() { return g_active; }

int PhoneMessageBox::Exec() {
  const QString savedCaption = screen_.Caption();
  screen_.SetCaption(QStringLiteral(TESSARY_PROGRAM_NAME));
  UiTrace::Write(QStringLiteral("message"), request_.text);
  screen_.PushLayer(this);
  show();
  raise();
  bar_->show();
  setFocus(Qt::PopupFocusReason);
  PhoneMessageBox* enclosing = g_active;
  g_active = this;
  QEventLoop loop;
  loop_ = &loop;
  if (answer_ == 0) loop.exec();
  loop_ = nullptr;
  g_active = enclosing;
  bar_->hide();
  hide();
  screen_.SetCaption(savedCaption);
  screen_.PopLayer(this);
  return answer_;
}

void PhoneMessageBox::Answer(int answer) {
  answer_ = answer;
  if (loop_) loop_->exit(0);
}

void PhoneMessageBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const int margin = DisplayScale::Across(6);
  const int top = DisplayScale::Down(8);
  int textLeft = margin;
  const QStyle::StandardPixmap kind = IconPixmap(request_.icon);
  if (kind != QStyle::SP_CustomBase) {
    const int side = std::max(16, DisplayScale::Across(32));
    style()->standardIcon(kind).paint(&painter, QRect(margin, top, side, side));
    textLeft += side + margin;
  }
  painter.setPen(Qt::black);
  painter.drawText(QRect(textLeft, top, width() - textLeft - margin, height() - top - margin),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, request_.text);
}

void PhoneMessageBox::keyPressEvent(QKeyEvent* event) {
  event->accept();
  if (event->isAutoRepeat()) return;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Answer(!request_.yesNo ? MessageBox::kOk : request_.defaultNo ? MessageBox::kNo : MessageBox::kYes);
      break;
    case Qt::Key_Escape: backDown_ = true; break;  // Back answers when released
    default: break;
  }
}

void PhoneMessageBox::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  if (event->key() != Qt::Key_Escape || event->isAutoRepeat() || !backDown_) return;
  backDown_ = false;
  Answer(request_.yesNo ? MessageBox::kNo : MessageBox::kOk);
}

void PhoneMessageBox::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace ui
