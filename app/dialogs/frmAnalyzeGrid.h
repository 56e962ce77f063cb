#pragma once
// The grid analysis tool window titled "Analyze Grid": the grid's physical width and
// cell size, Add (two clicks on the image), Clear, the calibration's Save and Load, the
// RMS and P-V limits with their check boxes, and Apply. It mirrors a
// GridDialogController, which holds the rules.
#include <array>

#include "app/dialogs/GridDialogController.h"
#include "app/dialogs/ToolWindow.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orvale {

class frmAnalyzeGrid : public ToolWindow {
 public:
  // Works on the active document of `table`; `owner` is the main window.
  frmAnalyzeGrid(MainFrame& frame, DocumentTable& table, QWidget* owner);

  // Places the window from section "Grid_Window" and shows the current grid data;
  // Unload writes the place back.
  void Load();
  void Unload();

  // Shows the active document's grid, or the stored defaults without one.
  void ShowCurrentGridData();

  GridDialogController& Controller() { return controller_; }
  QLineEdit* Field(GridField field) const { return fields_[static_cast<std::size_t>(field)]; }

 protected:
  // A field edit still to check is checked first; a refused one keeps the window open.
  bool ReadyToHide() override;
  bool event(QEvent* event) override;

 private:
  void BuildControls();
  // Shows the controller's texts, checks and enables.
  void ShowState();
  // The user left a field: true when its text was taken.
  bool CommitField(GridField field);

  GridDialogController controller_;
  std::array<QLineEdit*, kGridFieldCount> fields_{};
  QCheckBox* chkGridUseRMS = nullptr;
  QCheckBox* chkGridUsePV = nullptr;
  QPushButton* cmdGridAdd = nullptr;
  QPushButton* cmdGridClear = nullptr;
  QPushButton* cmdGridSave = nullptr;
  QPushButton* cmdGridLoad = nullptr;
  QPushButton* cmdApply = nullptr;
  QPushButton* cmdClose = nullptr;
  bool committing_ = false;
};

}  // namespace orvale
