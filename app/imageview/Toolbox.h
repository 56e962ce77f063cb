#pragma once
// The fringe toolbox ("ToolBox"): the fringe order new centres are recorded under,
// inserting, deleting and renumbering orders, starting and clearing the drawing of an
// aperture or obstruction in the active document's image view, and one stored
// aperture and obstruction outline for the next interferogram. Its commands act on the
// active document and do nothing without one that has an image view.
#include <cstdint>

#include "app/imageview/FringeToolbox.h"
#include "app/dialogs/ToolWindow.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace orvale {

class DocumentTable;
class ImageEditController;

class Toolbox : public ToolWindow, public FringeToolbox {
 public:
  // Takes its lists and order from the section "Toolbox". `table` and `frame` must
  // outlive it; `owner` is the main window (may be null).
  Toolbox(DocumentTable& table, MainFrame& frame, QWidget* owner);

  // Goes to its stored place, by default to the main window's right edge, level with its
  // top: once the main window has its place.
  void PlaceWindow();

  // False while the toolbox itself writes the order box.
  bool ToolBoxReady = false;

  // FringeToolbox
  std::int32_t CurrentOrder() const override { return currentOrder_; }
  void SelectOrder(std::int32_t newOrder) override;
  std::int32_t ApertureTypeIndex() const override;
  std::int32_t ObstructionTypeIndex() const override;
  void SetControls(bool state, bool ApertureOn, bool ObstructionOn) override;
  void AddAperture() override;
  void ClearAperture() override;
  void AddObstruction() override;
  void ClearObstruction() override;
  void InsertFringe() override;
  void RemoveFringe() override;
  void RenumberFringe() override;
  bool LoadAperture(clsDocument& doc) override;
  bool LoadObstruction(clsDocument& doc) override;

  // The window's unload: writes its place, lists and order to the settings.
  void Unload();

 private:
  // The active document when it has an image view, and that view's controller.
  clsDocument* ActiveDocument(ImageEditController*& editor) const;
  // Brings the image view to the front unless it is the document's active view.
  void BringViewForward(clsDocument& doc);
  // Records the fringe being traced, then inserts or deletes the current order.
  void ChangeOrders(void (ImageEditController::*command)(std::int32_t));
  void AddShape(std::int32_t object);
  void ClearShape(std::int32_t object);
  // Ends an outline still being drawn in a document that is no longer the active one;
  // true when there was one.
  bool StopStrandedDrawing(const clsDocument* active);
  void OrderTyped(int value);
  void LoadShape(std::int32_t object);
  void SaveShape(std::int32_t object);

  DocumentTable& table_;
  std::int32_t currentOrder_ = 1;
  std::int32_t previousOrder_ = 1;
  // The document an outline is being drawn in, until the toolbox is enabled again.
  const clsDocument* drawingDoc_ = nullptr;

  QLabel* lblOrder_;
  QSpinBox* txtOrder_;
  QPushButton* cmdInsert_;
  QPushButton* cmdRemove_;
  QPushButton* cmdRenumber_;
  QComboBox* cboAperture_;
  QPushButton* cmdApertureAdd_;
  QPushButton* cmdApertureClear_;
  QPushButton* cmdApertureLoad_;
  QPushButton* cmdApertureSave_;
  QComboBox* cboObstruction_;
  QPushButton* cmdObstructionAdd_;
  QPushButton* cmdObstructionClear_;
  QPushButton* cmdObstructionLoad_;
  QPushButton* cmdObstructionSave_;
};

}  // namespace orvale
