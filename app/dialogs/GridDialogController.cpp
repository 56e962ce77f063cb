#include "app/dialogs/GridDialogController.h"

#include <cmath>
#include <string_view>

#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "Grid";
constexpr std::int32_t kSizesAndRectangle = clsGrid::kPhysicalSizes | clsGrid::kPixelRectangle;

constexpr const char* kWholeMultipleText =
    "The grid's physical width must be a whole multiple of the cell's physical width.";

struct FieldSpec {
  std::string_view Key;       // its value in section "Grid"
  const char* NotANumber;     // the Warning for a text that is no number
  double clsGrid::*Value;
};

constexpr std::array<FieldSpec, kGridFieldCount> kFields = {{
    {"PhysicalWidth", "The grid width must be a number.", &clsGrid::GridPhysicalWidth},
    {"CellWidth", "The cell width must be a number.", &clsGrid::CellPhysicalWidth},
    {"CellHeight", "The cell height must be a number.", &clsGrid::CellPhysicalHeight},
    {"MaxRMS", "The RMS limit must be a number.", &clsGrid::MaxRMS},
    {"MaxPV", "The P-V limit must be a number.", &clsGrid::MaxPV},
}};

const FieldSpec& SpecOf(GridField field) { return kFields[static_cast<std::size_t>(field)]; }

// A stored number as it is, 0 when missing.
double StoredValue(std::string_view key) {
  return GetSettingDouble(kSection, key, kNotGivenDouble, kNotGivenDouble, kNotGivenDouble);
}

}  // namespace

GridControlStates ComputeGridControlStates(bool hasDocument, bool gridDefined, bool useRMS,
                                           bool usePV) {
  GridControlStates s;
  s.Add = hasDocument;
  s.Load = true;
  s.Apply = s.Save = s.Clear = hasDocument && gridDefined;
  s.MaxRMS = useRMS;
  s.MaxPV = usePV;
  return s;
}

GridDialogController::GridDialogController(DocumentTable& table, MainFrame& frame)
    : table_(table), frame_(frame) {
  texts_.fill("0");
  UpdateGridButtons();
}

clsDocument* GridDialogController::EditedDocument() const {
  clsDocument* doc = table_.ActiveDocument();
  return doc != nullptr && doc->ImageViewExist ? doc : nullptr;
}

void GridDialogController::UpdateGridButtons() {
  const clsDocument* doc = table_.ActiveDocument();
  states_ = ComputeGridControlStates(doc != nullptr,
                                     doc != nullptr && doc->Grid.IsDefined(kSizesAndRectangle),
                                     useRMS_, usePV_);
}

bool GridDialogController::Refuse(const std::string& text) const {
  ShowMessage(text, mb::kOk | mb::kIconExclamation, "Warning");
  return false;
}

void GridDialogController::ShowGrid(const clsDocument& doc) {
  for (std::size_t i = 0; i < kFields.size(); ++i) texts_[i] = FormatGeneral(doc.Grid.*kFields[i].Value);
  useRMS_ = doc.Grid.UseRMS;
  usePV_ = doc.Grid.UsePV;
}

void GridDialogController::ShowCurrentGridData() {
  if (clsDocument* doc = table_.ActiveDocument()) {
    clsGrid& grid = doc->Grid;
    if (!grid.IsDefined(clsGrid::kPhysicalSizes)) {
      for (GridField field : {GridField::GridWidth, GridField::CellWidth, GridField::CellHeight})
        grid.*SpecOf(field).Value = StoredValue(SpecOf(field).Key);
    }
    ShowGrid(*doc);
  } else {
    for (std::size_t i = 0; i < kFields.size(); ++i) texts_[i] = FormatGeneral(StoredValue(kFields[i].Key));
    useRMS_ = GetSettingBool(kSection, "UseRMS", true);
    usePV_ = GetSettingBool(kSection, "UsePV", true);
  }
  UpdateGridButtons();
}

bool GridDialogController::CommitField(GridField field, const std::string& text) {
  clsDocument* doc = EditedDocument();
  if (doc == nullptr) return true;
  double value = 0;
  // Val would read "abc" as 0 and "1e999" as infinity; neither may reach the grid.
  if (!TryConvertNumber(text, value) || !std::isfinite(value)) return Refuse(SpecOf(field).NotANumber);
  const bool stored = field == GridField::MaxRMS || field == GridField::MaxPV
                          ? CommitLimit(*doc, field, value)
                          : CommitSize(*doc, field, value);
  if (!stored) return false;
  texts_[static_cast<std::size_t>(field)] = text;
  doc->Views().PaintImage();
  UpdateGridButtons();
  return true;
}

bool GridDialogController::CommitSize(clsDocument& doc, GridField field, double value) {
  clsGrid& grid = doc.Grid;
  // Without a rectangle a size of 0 only means "not entered yet"; a negative one is
  // never a size.
  const bool rectangle = grid.IsDefined(clsGrid::kPixelRectangle);
  const bool tooSmall = value < 0 || (rectangle && value <= 0);
  switch (field) {
    case GridField::GridWidth:
      if (tooSmall) return Refuse("The width of a grid must be greater than zero.");
      if (rectangle && grid.CellPhysicalWidth > 0 &&
          !clsGrid::IsWholeMultiple(value, grid.CellPhysicalWidth))
        return Refuse(kWholeMultipleText);
      break;
    case GridField::CellWidth:
      if (tooSmall) return Refuse("The width of a grid cell must be greater than zero.");
      if (rectangle && !clsGrid::IsWholeMultiple(grid.GridPhysicalWidth, value))
        return Refuse(kWholeMultipleText);
      break;
    default:
      if (tooSmall) return Refuse("The height of a grid cell must be greater than zero.");
      break;
  }
  // The drawn grid and its cell counts must agree after every size edit.
  clsGrid edited = grid;
  edited.*SpecOf(field).Value = value;
  if (!edited.UpdateCellCounts()) {
    return Refuse("A grid cannot have more than " + FormatLong(clsGrid::kMaxCellsPerSide) +
                  " cells across or down.");
  }
  if (edited.*SpecOf(field).Value != grid.*SpecOf(field).Value) doc.DocDirty = true;
  grid = std::move(edited);
  return true;
}

bool GridDialogController::CommitLimit(clsDocument& doc, GridField field, double value) {
  if (value < 0) {
    return Refuse(field == GridField::MaxRMS ? "The RMS limit cannot be negative."
                                             : "The P-V limit cannot be negative.");
  }
  double& limit = doc.Grid.*SpecOf(field).Value;
  if (limit != value) doc.DocDirty = true;
  limit = value;
  return true;
}

void GridDialogController::SetUseRMS(bool on) { SetCheck(useRMS_, &clsGrid::UseRMS, on); }
void GridDialogController::SetUsePV(bool on) { SetCheck(usePV_, &clsGrid::UsePV, on); }

void GridDialogController::SetCheck(bool& shown, bool clsGrid::*stored, bool on) {
  shown = on;
  if (clsDocument* doc = EditedDocument(); doc != nullptr && doc->Grid.*stored != on) {
    doc->Grid.*stored = on;
    doc->DocDirty = true;
  }
  UpdateGridButtons();
}

bool GridDialogController::AddGrid() {
  clsDocument* doc = EditedDocument();
  if (doc == nullptr) return false;
  if (doc->Grid.IsDefined(kSizesAndRectangle)) ClearGrid();
  const clsGrid& grid = doc->Grid;
  if (grid.GridPhysicalWidth <= 0)
    return Refuse("Grid boundaries cannot be defined until a physical width has been entered.");
  if (grid.CellPhysicalWidth <= 0)
    return Refuse("Grid boundaries cannot be defined until a valid cell width has been entered.");
  if (grid.CellPhysicalHeight <= 0)
    return Refuse("Grid boundaries cannot be defined until a valid cell height has been entered.");
  if (!clsGrid::IsWholeMultiple(grid.GridPhysicalWidth, grid.CellPhysicalWidth))
    return Refuse(kWholeMultipleText);
  // As for an outline: the edit tool, and the image view waits for the two corners.
  frame_.SetEditToolPressed(true);
  frame_.SetToolBarItems(false);
  doc->Views().BeginGridDrawing();
  frame_.SetScreenPointer("curAddShape");
  frame_.BringViewToFront(*doc, viewtype::kImage);
  return true;
}

void GridDialogController::ClearGrid() {
  clsDocument* doc = EditedDocument();
  if (doc == nullptr) return;
  // The rectangle is saved with the document.
  if (doc->Grid.IsDefined(clsGrid::kPixelRectangle)) doc->DocDirty = true;
  doc->Grid.ClearBounds();
  doc->Views().StopDrawingObject();
  doc->Views().PaintImage();
  UpdateGridButtons();
  frame_.SetScreenPointer("");
}

GridApplyOutcome GridDialogController::Apply(const std::function<void(bool busy)>& setDialogBusy) {
  return ApplyGridAnalysis(table_, frame_, setDialogBusy);
}

void GridDialogController::SaveCalibration() {
  if (const clsDocument* doc = EditedDocument()) doc->Grid.RegistrySaveCalibration();
}

void GridDialogController::LoadCalibration() {
  if (clsDocument* doc = EditedDocument()) {
    std::string problem;
    if (!doc->Grid.RegistryLoadCalibration(&problem)) {
      Refuse(problem);
      return;
    }
    doc->DocDirty = true;
    doc->Views().PaintImage();
  }
  ShowCurrentGridData();
}

}  // namespace orvale
