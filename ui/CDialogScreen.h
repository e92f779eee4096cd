#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

#include "ui/SoftKeyBar.h"

class QBoxLayout;
class QCheckBox;
class QEventLoop;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QScrollArea;
class QVBoxLayout;

namespace ui {

class PhoneScreen;

// A modal dialog screen: it fills the work area of the phone's screen, shows
// its title in the tray and its soft-key bar (from a menu resource) above the
// others, and disables the main window below it while it runs. The left key
// accepts (1, or 1031 for "Next"), the right key cancels (2) or opens a menu.
// Back never closes the screen: a released Back becomes a Backspace for the
// focused text field and is ignored elsewhere. Up and Down move between the
// controls in their tab order (a radio button that gets the focus is chosen);
// Enter presses the left soft key. The focused control always shows its focus.
class CDialogScreen : public QWidget {
  Q_OBJECT

 public:
  enum Result : int { kOk = 1, kCancel = 2 };

  CDialogScreen(PhoneScreen& screen, QWidget* owner, const QString& title, uint32_t menuResource);
  ~CDialogScreen() override;

  // Shows the screen and runs until EndDialog; answers the value given there.
  int DoModal();
  void EndDialog(int result);
  bool IsRunning() const { return loop_ != nullptr; }

  QString Title() const { return title_; }
  PhoneScreen& Screen() const { return screen_; }
  SoftKeyBar* Bar() const { return bar_; }
  // The innermost screen running now, or nullptr.
  static CDialogScreen* Active();
  // A control that uses the arrows and Enter itself (a grid of cells): the screen
  // leaves those keys to it.
  static void KeepKeys(QWidget& control);

  // What the soft keys send; screens act on their own commands here.
  virtual void OnCommand(uint32_t command);

 protected:
  // Called once before the screen first shows.
  virtual void OnInitDialog() {}
  virtual void OnOK() { EndDialog(kOk); }
  virtual void OnCancel() { EndDialog(kCancel); }

  // The column the screen's controls go in, from the top of the work area.
  QVBoxLayout* Column() const { return column_; }
  QWidget* Content() const { return content_; }

  // Helpers that build the usual controls in `layout` in the dialog font.
  QLabel* AddText(QBoxLayout* layout, uint32_t stringId, bool bold = false);
  QLineEdit* AddEdit(QBoxLayout* layout, size_t maxLength, bool password = false);
  QRadioButton* AddRadio(QBoxLayout* layout, uint32_t stringId);
  // A multi-line field that refuses text beyond `maxLength` characters.
  QPlainTextEdit* AddMultiLineEdit(QBoxLayout* layout, size_t maxLength);
  QCheckBox* AddCheck(QBoxLayout* layout, uint32_t stringId);
  // "E-Mail:" and "Password:" with their fields, as the account screens have them.
  void AddLoginFields(QBoxLayout* layout, QLineEdit*& email, QLineEdit*& password);
  // Text of a field as UTF-8, the model's text.
  static std::string FieldText(const QLineEdit& field);
  // Puts the caret in a field with all of its text selected.
  static void SelectAll(QLineEdit& field);
  // Focus to the next (1) or previous (-1) field of the screen, or the first (0).
  void MoveFocus(int step);

  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Whether a field uses Up or Down itself (a multi-line field not yet on its
  // first or last line, a list not yet on its first or last item).
  static bool KeepsUpDown(QWidget* field, int key);
  static bool KeepsAllKeys(const QWidget* field);
  // A control that Up and Down stop at.
  static bool IsField(const QWidget* widget);

  PhoneScreen& screen_;
  QPointer<QWidget> mainWindow_;
  bool disabledMainWindow_ = false;
  QString title_;
  QString savedCaption_;
  QPointer<SoftKeyBar> bar_;
  QScrollArea* scroller_ = nullptr;
  QWidget* content_ = nullptr;
  QVBoxLayout* column_ = nullptr;
  QEventLoop* loop_ = nullptr;
  bool initialised_ = false;
  bool ended_ = false;
  int result_ = kCancel;
};

}  // namespace ui
