#pragma once
// The grid analysis tool window titled "Analyze Grid": the grid's physical width and
// cell size, Add (two clicks on the image), Clear, the calibration's Save and Load, the
// RMS and P-V limits with their check boxes, and Apply. It mirrors a
// GridDialogController, which holds the rules.
#include <array>
#include <functional>

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
  // A field that has the focus ends its edit as it goes: that must not reach this window.
  ~frmAnalyzeGrid() override;

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
  // The user ended an edit: true when its text was taken. A refused text stays in the
  // field, which gets the focus back.
  bool CommitField(GridField field);
  // Commits the edits not taken yet, in field order, before a command or hiding; false
  // at the first one refused. A text refused before is checked, and warned about, again:
  // each command it holds up says why.
  bool CommitPendingEdits();
  void FocusField(GridField field);
  // Runs a command once the pending edits are in, then shows the result.
  void RunCommand(const std::function<void()>& command);

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
