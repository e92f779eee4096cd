#pragma once

#include <string>
#include <vector>

#include "platform/ContactBook.h"
#include "ui/CDialogScreen.h"

class QListWidget;

namespace dialogs {

// "Contacts": the phone's contact chooser, over the address book in the device
// ("\My Documents\Contacts.vcf"). One row per e-mail address, with the
// person's name above it; OK (or Enter) takes the address of the row.
class CChooseContactDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CChooseContactDlg(ui::PhoneScreen& screen, QWidget* owner, const std::vector<platform::Contact>& contacts);

  // Lets the user pick one address of the device's contacts. No address book,
  // no address in it, or Cancel: false, as a cancelled choice.
  static bool Choose(ui::PhoneScreen& screen, QWidget* owner, std::string& address);

  // The address chosen once the screen closed with OK.
  const std::string& Address() const { return address_; }
  QListWidget* List() const { return list_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<std::string> addresses_;  // of the rows, in order
  QListWidget* list_ = nullptr;
  std::string address_;
};

}  // namespace dialogs
