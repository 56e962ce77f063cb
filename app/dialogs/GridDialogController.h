#pragma once
// The Analyze Grid window's state and rules without its widgets: what its fields and
// check boxes show, which controls take input, and what each command and field edit
// does to the active document's grid. The window mirrors it; tests and automation run
// it headless.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/analysis/clsGrid.h"
#include "app/dialogs/GridAnalysisApply.h"

namespace orvale {

class clsDocument;
class DocumentTable;
class MainFrame;

// The five fields, in the window's order.
enum class GridField { GridWidth, CellWidth, CellHeight, MaxRMS, MaxPV };
inline constexpr int kGridFieldCount = 5;

// Which controls take input.
struct GridControlStates {
  bool Apply = false;
  bool Add = false;
  bool Save = false;
  bool Clear = false;
  bool Load = true;
  bool MaxRMS = true;
  bool MaxPV = true;
  bool operator==(const GridControlStates&) const = default;
};

// Without an active document only Load; with one, Add and Load, and Save, Clear and
// Apply once the grid has its sizes and its rectangle. Each limit field follows its
// check box.
GridControlStates ComputeGridControlStates(bool hasDocument, bool gridDefined, bool useRMS,
                                           bool usePV);

class GridDialogController {
 public:
  // Works on the active document of `table`; both must outlive the controller.
  GridDialogController(DocumentTable& table, MainFrame& frame);

  // --- What the controls show ---
  const std::string& Text(GridField field) const {
    return texts_[static_cast<std::size_t>(field)];
  }
  bool UseRMS() const { return useRMS_; }
  bool UsePV() const { return usePV_; }
  const GridControlStates& States() const { return states_; }

  // Fills the fields from the active document's grid, which first takes the stored
  // calibration sizes when it has none; without a document, from the stored defaults
  // of section "Grid" (0 and checked when missing).
  void ShowCurrentGridData();

  // The user left a field with `text`. With an active document that has an image view
  // the value is checked and stored; a refusal shows a Warning, stores nothing and
  // gives false (the window puts the focus back). Without one nothing is stored.
  bool CommitField(GridField field, const std::string& text);
  // The check boxes; stored in the grid like the fields.
  void SetUseRMS(bool on);
  void SetUsePV(bool on);

  // --- Commands ---
  // Starts drawing the grid on the image (two clicks). False when there is no document
  // to draw on or a Warning refused it.
  bool AddGrid();
  // Removes the grid's rectangle and ends a drawing in progress.
  void ClearGrid();
  // The grid analysis (ApplyGridAnalysis).
  GridApplyOutcome Apply(const std::function<void(bool busy)>& setDialogBusy = {});
  // The calibration to and from the settings section "Grid". A stored calibration the
  // grid refuses is reported as a Warning and changes nothing.
  void SaveCalibration();
  void LoadCalibration();

 private:
  // The active document when it has an image view, else null.
  clsDocument* EditedDocument() const;
  void UpdateGridButtons();
  bool Refuse(const std::string& text) const;
  bool CommitSize(clsDocument& doc, GridField field, double value);
  bool CommitLimit(clsDocument& doc, GridField field, double value);
  // A check box: shown, and stored in the edited document's grid.
  void SetCheck(bool& shown, bool clsGrid::*stored, bool on);
  void ShowGrid(const clsDocument& doc);

  DocumentTable& table_;
  MainFrame& frame_;
  std::array<std::string, kGridFieldCount> texts_;
  bool useRMS_ = true;
  bool usePV_ = true;
  GridControlStates states_;
};

}  // namespace orvale
