#include "ui/CDialogScreen.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "model/AccountRules.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/DisplayScale.h"
#include "ui/PhoneScreen.h"
#include "ui/QtText.h"
#include "ui/SoftKeyBar.h"
#include "platform/StringIds.h"

namespace ui {
namespace {

CDialogScreen* g_active = nullptr;

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
  scroller_ = scroller;
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
  // The control with the focus always shows it, at the device's scale.
  const int line = std::max(1, DisplayScale::Across(1));
  const int indicator = std::max(13, DisplayScale::Across(13));
  // A style sheet stops the screen's font from reaching the controls: it names
  // the size again, in device pixels.
  content_->setStyleSheet(QStringLiteral(
      "* { font-size: %4px; }"
      "QLineEdit, QPlainTextEdit, QTextEdit, QComboBox { border: %1px solid #8c8c8c; padding: %1px; background: white; }"
      "QLineEdit:focus, QPlainTextEdit:focus, QTextEdit:focus, QComboBox:focus"
      " { border: %2px solid #123ca0; padding: 0px; }"
      "QRadioButton:focus, QCheckBox:focus { background: #c8d8ff; }"
      "QRadioButton::indicator, QCheckBox::indicator { width: %3px; height: %3px; }")
                              .arg(line)
                              .arg(2 * line)
                              .arg(indicator)
                              .arg(screen.font().pixelSize()));
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
  setFocusPolicy(Qt::StrongFocus);
}

CDialogScreen::~CDialogScreen() {
  EndDialog(result_);
  delete bar_;
  screen_.PopLayer(this);
}

CDialogScreen* CDialogScreen::Active() { return g_active; }

int CDialogScreen::DoModal() {
  if (loop_) return kCancel;
  if (!initialised_) {
    initialised_ = true;
    column_->addStretch(1);
    OnInitDialog();
    // Every control's keys pass here first: Up and Down move between them.
    for (QWidget* child : content_->findChildren<QWidget*>()) {
      if (IsField(child)) child->installEventFilter(this);
    }
  }
  ended_ = false;
  if (mainWindow_ && mainWindow_ != this && mainWindow_->isEnabled()) {
    mainWindow_->setEnabled(false);
    disabledMainWindow_ = true;
  }
  savedCaption_ = screen_.Caption();
  screen_.SetCaption(title_);
  screen_.PushLayer(this);
  show();
  raise();
  bar_->show();
  QWidget* focused = screen_.focusWidget();
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
  screen_.PopLayer(this);
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

QPlainTextEdit* CDialogScreen::AddMultiLineEdit(QBoxLayout* layout, size_t maxLength) {
  auto* edit = new QPlainTextEdit(content_);
  edit->setTabChangesFocus(true);
  const int limit = static_cast<int>(maxLength);
  // What goes in beyond the limit is taken out again (text already longer than
  // the limit, as the service may send it, stays as it is).
  QTextDocument* document = edit->document();
  connect(document, &QTextDocument::contentsChange, edit, [document, limit](int position, int removed, int added) {
    const int total = document->characterCount() - 1;
    const int allowed = std::max(limit, total - added + removed);
    const int excess = std::min(added, total - allowed);
    if (excess <= 0) return;
    QTextCursor cursor(document);
    cursor.setPosition(position + added - excess);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  });
  layout->addWidget(edit);
  return edit;
}

QCheckBox* CDialogScreen::AddCheck(QBoxLayout* layout, uint32_t stringId) {
  auto* check = new QCheckBox(Label(stringId), content_);
  layout->addWidget(check);
  return check;
}

void CDialogScreen::AddLoginFields(QBoxLayout* layout, QLineEdit*& email, QLineEdit*& password) {
  AddText(layout, platform::strings::kEmailLabel);
  email = AddEdit(layout, model::AccountRules::kMaxEmail);
  AddText(layout, platform::strings::kPasswordLabel);
  password = AddEdit(layout, model::AccountRules::kMaxPassword, true);
}

std::string CDialogScreen::FieldText(const QLineEdit& field) { return Utf8(field.text()); }

void CDialogScreen::SelectAll(QLineEdit& field) {
  field.setFocus();
  field.selectAll();
}

void CDialogScreen::MoveFocus(int step) {
  // The fields in their tab order, which is the order they were made in.
  std::vector<QWidget*> fields;
  QWidget* w = content_->nextInFocusChain();
  for (int guard = 0; w && w != content_ && guard < 10000; ++guard, w = w->nextInFocusChain()) {
    if (content_->isAncestorOf(w) && IsField(w) && w->isVisibleTo(this) && w->isEnabled()) {
      fields.push_back(w);
    }
  }
  if (fields.empty()) {
    // A screen of text alone takes the keys itself: Enter and Back still act.
    if (!hasFocus()) setFocus(Qt::OtherFocusReason);
    return;
  }
  const auto at = std::find(fields.begin(), fields.end(), screen_.focusWidget());
  int index = 0;
  if (at != fields.end() && step != 0) {
    const int count = static_cast<int>(fields.size());
    index = (static_cast<int>(at - fields.begin()) + step + count) % count;
  }
  QWidget* target = fields[static_cast<size_t>(index)];
  target->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
  scroller_->ensureWidgetVisible(target);
  // On the phone the choice follows the focus among radio buttons.
  if (auto* radio = qobject_cast<QRadioButton*>(target); radio && step != 0) radio->setChecked(true);
}

bool CDialogScreen::IsField(const QWidget* widget) {
  // Qt takes the tab focus from the unchosen buttons of a radio group; on the
  // phone every radio button is a stop of its own.
  return (widget->focusPolicy() & Qt::TabFocus) || qobject_cast<const QRadioButton*>(widget) != nullptr;
}

void CDialogScreen::KeepKeys(QWidget& control) { control.setProperty("phoneKeepsKeys", true); }

bool CDialogScreen::KeepsAllKeys(const QWidget* field) { return field->property("phoneKeepsKeys").toBool(); }

bool CDialogScreen::KeepsUpDown(QWidget* field, int key) {
  if (KeepsAllKeys(field)) return true;
  // A list moves its selection until it stands on its first or last item.
  if (auto* list = qobject_cast<QAbstractItemView*>(field); list && list->model()) {
    const int row = list->currentIndex().row();
    const int rows = list->model()->rowCount();
    return key == Qt::Key_Up ? row > 0 : row + 1 < rows;
  }
  // A multi-line field moves its caret until it stands on its first or last line.
  QTextCursor cursor;
  if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
    cursor = plain->textCursor();
  } else if (auto* rich = qobject_cast<QTextEdit*>(field)) {
    cursor = rich->textCursor();
  } else {
    return false;
  }
  return cursor.movePosition(key == Qt::Key_Up ? QTextCursor::Up : QTextCursor::Down);
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
  auto* field = qobject_cast<QWidget*>(watched);
  if (!field) return false;
  const bool press = event->type() == QEvent::KeyPress;
  switch (key->key()) {
    case Qt::Key_Escape:
      // Back in a text field: the release deletes the character before the caret.
      if (!press && !key->isAutoRepeat()) {
        if (auto* line = qobject_cast<QLineEdit*>(field); line && !line->isReadOnly()) line->backspace();
        if (auto* plain = qobject_cast<QPlainTextEdit*>(field); plain && !plain->isReadOnly()) {
          plain->textCursor().deletePreviousChar();
        }
        if (auto* rich = qobject_cast<QTextEdit*>(field); rich && !rich->isReadOnly()) {
          rich->textCursor().deletePreviousChar();
        }
      }
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (KeepsUpDown(field, key->key())) return false;
      if (press) MoveFocus(key->key() == Qt::Key_Up ? -1 : 1);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (qobject_cast<QPlainTextEdit*>(field) || qobject_cast<QTextEdit*>(field) || KeepsAllKeys(field)) {
        return false;
      }
      if (press && !key->isAutoRepeat()) bar_->PressLeft();
      return true;
    default: return false;
  }
}

void CDialogScreen::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  // The screen hands the keys to its first field.
  MoveFocus(0);
}

void CDialogScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
}

}  // namespace ui
