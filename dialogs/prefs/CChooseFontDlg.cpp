#include "dialogs/prefs/CChooseFontDlg.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QVBoxLayout>

#include "platform/FontChoice.h"
#include "platform/StringIds.h"
#include "ui/QtText.h"
#include "ui/SpinList.h"

namespace dialogs {

namespace s = platform::strings;
using platform::FontChoice;

CChooseFontDlg::CChooseFontDlg(ui::PhoneScreen& screen, QWidget* owner, const platform::LogFont& font, int dpi)
    : CDialogScreen(screen, owner, ui::Label(s::kChooseFont), 190), font_(font), dpi_(dpi) {
  AddText(Column(), s::kFontNameLabel);
  faces_ = new ui::SpinList(Content());
  Column()->addWidget(faces_);
  AddText(Column(), s::kSizeLabel);
  sizes_ = new ui::SpinList(Content());
  Column()->addWidget(sizes_);
  AddText(Column(), s::kStyles);
  auto box = [this](uint32_t textId) {
    auto* check = new QCheckBox(ui::Label(textId), Content());
    Column()->addWidget(check);
    return check;
  };
  bold_ = box(s::kBold);
  italic_ = box(s::kItalic);
  underline_ = box(s::kUnderline);
  clearType_ = box(s::kClearType);
}

void CChooseFontDlg::OnInitDialog() {
  for (const QString& family : QFontDatabase::families()) {
    families_.push_back(family.toStdU16String());
    faces_->AddItem(family, static_cast<uint32_t>(families_.size() - 1));
  }
  faces_->setCurrentIndex(static_cast<int>(FontChoice::FaceIndex(families_, font_.faceName)));
  for (int points : FontChoice::kSizes) sizes_->AddItem(QString::number(points), static_cast<uint32_t>(points));
  const FontChoice::Choice choice = FontChoice::Of(font_, dpi_);
  sizes_->SelectData(static_cast<uint32_t>(choice.points));
  bold_->setChecked(choice.bold);
  italic_->setChecked(choice.italic);
  underline_->setChecked(choice.underline);
  clearType_->setChecked(choice.clearType);
  faces_->setFocus();
}

void CChooseFontDlg::OnOK() {
  FontChoice::Choice choice;
  if (faces_->count() > 0) choice.faceName = families_[faces_->CurrentData()];
  choice.points = static_cast<int>(sizes_->CurrentData());
  choice.bold = bold_->isChecked();
  choice.italic = italic_->isChecked();
  choice.underline = underline_->isChecked();
  choice.clearType = clearType_->isChecked();
  font_ = FontChoice::Apply(font_, choice, dpi_);
  EndDialog(kOk);
}

}  // namespace dialogs
