#pragma once

class QWidget;

namespace model {
class CWinBlogEntry;
class CWinBlogStorage;
class CWinBlogUser;
}  // namespace model

namespace ui {

class CChildView;
class PhoneScreen;

// What a command of the main window sees when it is asked whether it acts and
// when it runs: the view and what it shows, the account, and the window its
// screens open over.
struct CommandContext {
  CChildView& view;
  model::CWinBlogUser& user;
  PhoneScreen& screen;
  QWidget* owner;
  model::CWinBlogStorage* blog = nullptr;  // the current blog; none in the home view
  model::CWinBlogEntry* entry = nullptr;   // the entry open in the viewer, or none

  // The account has an e-mail address and a password.
  bool HasLogin() const;
  // Re-reads the view's item count, clears its selection and repaints.
  void Refresh() const;
};

}  // namespace ui
