#include "ui/CDialogScreen.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "model/AccountRules.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/DisplayScale.h"
#include "ui/PhoneScreen.h"
#include "ui/SoftKeyBar.h"
#include "ui/StringIds.h"

namespace ui {
namespace {

CDialogScreen* g_active = nullptr;

QString Label(uint32_t id) { return QString::fromStdString(platform::LoadString(id)); }

}  // namespace

CDialogScreen::CDialogScreen(PhoneScreen& screen, QWidget* owner, const QString& title, uint32_t menuResource)
    : QWidget(&screen), screen_(screen), mainWindow_(screen.MainWindowOf(owner)), title_(title) {
  hide();
  setObjectName(QStringLiteral("dialog"));
  setGeometry(screen.WorkRect());
  setAttribute(Qt::WA_OpaquePaintEvent);

  // The controls sit in a scrolling column so that a long screen stays usable
  // on the smallest displays; the area follows the focused field.
  auto* scroller = new QScrollArea(this);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroller->setFocusPolicy(Qt::NoFocus);
  content_ = new QWidget(scroller);
  content_->setAutoFillBackground(true);
  QPalette palette = content_->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  content_->setPalette(palette);
  column_ = new QVBoxLayout(content_);
  const int across = DisplayScale::Across(4);
  const int down = DisplayScale::Down(4);
  column_->setContentsMargins(across, down, across, down);
  column_->setSpacing(DisplayScale::Down(2));
  scroller->setWidget(content_);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroller);

  bar_ = new SoftKeyBar(screen, menuResource);
  bar_->hide();
  connect(bar_, &SoftKeyBar::CommandChosen, this, [this](uint32_t command) { OnCommand(command); });
}

CDialogScreen::~CDialogScreen() {
  EndDialog(result_);
  delete bar_;
}

CDialogScreen* CDialogScreen::Active() { return g_active; }

int CDialogScreen::DoModal() {
  if (loop_) return kCancel;
  if (!initialised_) {
    initialised_ = true;
    column_->addStretch(1);
    OnInitDialog();
  }
  ended_ = false;
  if (mainWindow_ && mainWindow_ != this && mainWindow_->isEnabled()) {
    mainWindow_->setEnabled(false);
    disabledMainWindow_ = true;
  }
  savedCaption_ = screen_.Caption();
  screen_.SetCaption(title_);
  show();
  raise();
  bar_->show();
  QWidget* focused = QApplication::focusWidget();
  if (!focused || !isAncestorOf(focused) || !focused->isVisible()) MoveFocus(0);

  CDialogScreen* enclosing = g_active;  // the screen this one opened over
  g_active = this;
  QEventLoop loop;
  loop_ = &loop;
  if (!ended_) loop.exec();
  loop_ = nullptr;
  g_active = enclosing;

  bar_->hide();
  hide();
  screen_.SetCaption(savedCaption_);
  if (disabledMainWindow_ && mainWindow_) mainWindow_->setEnabled(true);
  disabledMainWindow_ = false;
  return result_;
}

void CDialogScreen::EndDialog(int result) {
  result_ = result;
  ended_ = true;
  if (loop_) loop_->exit(0);
}

void CDialogScreen::OnCommand(uint32_t command) {
  switch (command) {
    case commands::kOk:
    case commands::kNext: OnOK(); break;
    case commands::kCancel: OnCancel(); break;
    default: break;
  }
}

QLabel* CDialogScreen::AddText(QBoxLayout* layout, uint32_t stringId, bool bold) {
  auto* label = new QLabel(Label(stringId), content_);
  label->setWordWrap(true);
  if (bold) {
    QFont font = label->font();
    font.setWeight(QFont::Bold);
    label->setFont(font);
  }
  layout->addWidget(label);
  return label;
}

QLineEdit* CDialogScreen::AddEdit(QBoxLayout* layout, size_t maxLength, bool password) {
  auto* edit = new QLineEdit(content_);
  edit->setMaxLength(static_cast<int>(maxLength));
  if (password) edit->setEchoMode(QLineEdit::Password);
  edit->installEventFilter(this);
  layout->addWidget(edit);
  return edit;
}

QRadioButton* CDialogScreen::AddRadio(QBoxLayout* layout, uint32_t stringId) {
  auto* radio = new QRadioButton(Label(stringId), content_);
  layout->addWidget(radio);
  return radio;
}

void CDialogScreen::AddLoginFields(QBoxLayout* layout, QLineEdit*& email, QLineEdit*& password) {
  AddText(layout, strings::kEmailLabel);
  email = AddEdit(layout, model::AccountRules::kMaxEmail);
  AddText(layout, strings::kPasswordLabel);
  password = AddEdit(layout, model::AccountRules::kMaxPassword, true);
}

std::string CDialogScreen::FieldText(const QLineEdit& field) { return field.text().toStdString(); }

void CDialogScreen::SelectAll(QLineEdit& field) {
  field.setFocus();
  field.selectAll();
}

void CDialogScreen::MoveFocus(int step) {
  std::vector<QWidget*> fields;
  for (QWidget* child : content_->findChildren<QWidget*>()) {
    if ((child->focusPolicy() & Qt::TabFocus) && child->isVisibleTo(this) && child->isEnabled())
      fields.push_back(child);
  }
  if (fields.empty()) return;
  const auto at = std::find(fields.begin(), fields.end(), QApplication::focusWidget());
  int index = 0;
  if (at != fields.end() && step != 0) {
    const int count = static_cast<int>(fields.size());
    index = (static_cast<int>(at - fields.begin()) + step + count) % count;
  }
  fields[static_cast<size_t>(index)]->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

void CDialogScreen::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape: break;  // Back acts when it is released
    case Qt::Key_Down: MoveFocus(1); break;
    case Qt::Key_Up: MoveFocus(-1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!event->isAutoRepeat()) bar_->PressLeft();
      break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

bool CDialogScreen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  auto* field = qobject_cast<QLineEdit*>(watched);
  if (!field || key->key() != Qt::Key_Escape) return false;
  // Back in a text field: the release deletes the character before the caret.
  if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat()) field->backspace();
  return true;
}

void CDialogScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
}

}  // namespace ui
