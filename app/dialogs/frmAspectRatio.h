#pragma once
// The modal "Adjust Aspect Ratio" dialog: a new aspect ratio, with which OK resamples
// the active document's image (wider above 1, taller below 1).
#include <QDialog>

class QLineEdit;

namespace orvale {

class DocumentTable;
struct GeneralSettings;

class frmAspectRatio final : public QDialog {
 public:
  // Shows the last ratio entered ("Manual Aspect Ratio" of `settings`).
  frmAspectRatio(GeneralSettings& settings, DocumentTable& table, QWidget* owner);

 private:
  // Without an active document nothing happens and the dialog stays open. A ratio the
  // rule refuses is reported and nothing changes.
  void Ok();

  GeneralSettings* settings_;
  DocumentTable* table_;
  QLineEdit* txtAspectRatio = nullptr;
};

// Process > Adjust Aspect Ratio and its toolbar button.
void ShowAspectRatioDialog(GeneralSettings& settings, DocumentTable& table, QWidget* owner);

}  // namespace orvale
