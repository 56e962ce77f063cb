#pragma once
// The modal "Properties" dialog of the active document's result views: plot sizes,
// surface filling, line points, synthetic-fringe size, the Z scale and the screen and
// printer text styles. Its controls mirror a ViewPropertiesControls model; OK stores
// it in the document through ApplyViewProperties.
#include <QDialog>
#include <memory>

#include "app/dialogs/ViewProperties.h"

class QCheckBox;
class QLineEdit;

namespace orvale {

struct PlotControls;

class frmProperties final : public QDialog {
 public:
  // Shows the values of `doc`, which must have output views and outlive the dialog.
  frmProperties(clsDocument& doc, QWidget* owner);
  ~frmProperties() override;

  // The values the controls show.
  ViewPropertiesControls Controls() const;

 private:
  void BuildControls();
  void ShowControls();
  // The check rules after a click on "Auto Scale Plots" or "Fill Polygons".
  void ApplyCheckRules();
  void Ok();

  clsDocument* doc_;
  ViewPropertiesControls model_;

  std::unique_ptr<PlotControls> plot_;
  QCheckBox* chkAutoScale = nullptr;
  QLineEdit* txtZMin = nullptr;
  QLineEdit* txtZMax = nullptr;
  QCheckBox* chkLimitScale = nullptr;
};

// Edit > Properties: the dialog on the active document, when it has output views.
void ShowPropertiesDialog(const DocumentTable& table, QWidget* owner);

}  // namespace orvale
