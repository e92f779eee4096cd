#pragma once

class QBoxLayout;
class QCheckBox;
class QLineEdit;
class QWidget;

namespace model {
struct BlogPrefs;
}
namespace ui {
class SpinList;
}

namespace dialogs {

// The sync settings' controls that Subscribe and Blog Prefs share, each added
// where the screen wants it: "Upload:" and "Download:" spin lists of the size
// codes, "Limit handheld entries to most recent:" with its digits-only number,
// and "Delete photos on handheld after upload".
class SyncSettingsFields {
 public:
  explicit SyncSettingsFields(QWidget* parent) : parent_(parent) {}

  void AddUpload(QBoxLayout* layout);
  void AddDownload(QBoxLayout* layout);
  void AddLimit(QBoxLayout* layout);
  void AddDeleteAfterUpload(QBoxLayout* layout);

  // Shows the settings; Read takes back what the controls show into `prefs`.
  void Load(const model::BlogPrefs& prefs);
  void Read(model::BlogPrefs& prefs) const;

  ui::SpinList* Upload() const { return upload_; }
  ui::SpinList* Download() const { return download_; }
  QCheckBox* LimitBox() const { return limit_; }
  QLineEdit* LimitField() const { return entryLimit_; }
  QCheckBox* DeleteAfterUploadBox() const { return deleteAfterUpload_; }
  QWidget* UploadLabel() const { return uploadLabel_; }

 private:
  QWidget* parent_;
  QWidget* uploadLabel_ = nullptr;
  ui::SpinList* upload_ = nullptr;
  ui::SpinList* download_ = nullptr;
  QCheckBox* limit_ = nullptr;
  QLineEdit* entryLimit_ = nullptr;
  QCheckBox* deleteAfterUpload_ = nullptr;
};

}  // namespace dialogs
