#pragma once

#include <string>
#include <vector>

#include "platform/LogFont.h"
#include "ui/CDialogScreen.h"

class QCheckBox;

namespace ui {
class SpinList;
}

namespace dialogs {

// "Choose Font": the font of the entry list. The installed families as Qt's
// font database lists them, the sizes 6 to 12 points, and the styles Bold,
// Italic, Underline and Clear Type. The record's height is in pixels of the
// display, whose dots per inch convert it to and from points. OK makes the
// result: the record given, with what the screen edits written into it.
class CChooseFontDlg : public ui::CDialogScreen {
  Q_OBJECT

 public:
  CChooseFontDlg(ui::PhoneScreen& screen, QWidget* owner, const platform::LogFont& font, int dpi);

  const platform::LogFont& Result() const { return font_; }

  ui::SpinList* FontList() const { return faces_; }
  ui::SpinList* SizeList() const { return sizes_; }
  QCheckBox* BoldBox() const { return bold_; }
  QCheckBox* ItalicBox() const { return italic_; }
  QCheckBox* UnderlineBox() const { return underline_; }
  QCheckBox* ClearTypeBox() const { return clearType_; }

 protected:
  void OnInitDialog() override;
  void OnOK() override;

 private:
  platform::LogFont font_;
  int dpi_;
  std::vector<std::u16string> families_;
  ui::SpinList* faces_ = nullptr;
  ui::SpinList* sizes_ = nullptr;
  QCheckBox* bold_ = nullptr;
  QCheckBox* italic_ = nullptr;
  QCheckBox* underline_ = nullptr;
  QCheckBox* clearType_ = nullptr;
};

}  // namespace dialogs
