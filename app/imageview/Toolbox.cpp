#include "app/imageview/Toolbox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/imageview/ImageEditController.h"
#include "app/imageview/ImageViewWindows.h"
#include "app/dialogs/NumberInput.h"
#include "app/imageview/ToolboxShapes.h"
#include "app/analysis/clsFringes.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {

namespace {

constexpr std::int32_t kMaxOrder = kMaxFringes;

QPushButton* Button(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

QComboBox* ShapeList(const char* name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->addItems({"Circle", "Ellipse", "Polygon"});
  return list;
}

// A frame with an outline's list and its Add, Clear, Load and Save buttons.
QGroupBox* OutlineFrame(const char* title, QComboBox* list, QPushButton* add, QPushButton* clear,
                        QPushButton* load, QPushButton* save) {
  auto* frame = new QGroupBox(QString::fromLatin1(title));
  auto* grid = new QGridLayout(frame);
  grid->addWidget(list, 0, 0, 1, 2);
  grid->addWidget(add, 1, 0);
  grid->addWidget(clear, 1, 1);
  grid->addWidget(load, 2, 0);
  grid->addWidget(save, 2, 1);
  return frame;
}

// Button clicks run their command under the handler guard.
template <class Command>
void OnClick(QPushButton* button, Command command) {
  QObject::connect(button, &QPushButton::clicked, button, [command] { GuardHandler(command); });
}

std::string_view OutlineName(std::int32_t object) {
  return object == drawing::kAperture ? "Aperture" : "Obstruction";
}

}  // namespace

Toolbox::Toolbox(DocumentTable& table, MainFrame& frame, QWidget* owner)
    : ToolWindow(frame, ViewMenuItem::ToolBox, "ToolBox", owner),
      table_(table),
      lblOrder_(new QLabel("Order", this)),
      txtOrder_(new QSpinBox(this)),
      cmdInsert_(Button("Insert Order", "cmdInsert", this)),
      cmdRemove_(Button("Delete Order", "cmdRemove", this)),
      cmdRenumber_(Button("Renumber", "cmdRenumber", this)),
      cboAperture_(ShapeList("cboAperture", this)),
      cmdApertureAdd_(Button("Add", "cmdApertureAdd", this)),
      cmdApertureClear_(Button("Clear", "cmdApertureClear", this)),
      cmdApertureLoad_(Button("Load", "cmdApertureLoad", this)),
      cmdApertureSave_(Button("Save", "cmdApertureSave", this)),
      cboObstruction_(ShapeList("cboObstruction", this)),
      cmdObstructionAdd_(Button("Add", "cmdObstructionAdd", this)),
      cmdObstructionClear_(Button("Clear", "cmdObstructionClear", this)),
      cmdObstructionLoad_(Button("Load", "cmdObstructionLoad", this)),
      cmdObstructionSave_(Button("Save", "cmdObstructionSave", this)) {
  lblOrder_->setObjectName("lblOrder");
  txtOrder_->setObjectName("txtOrder");
  // The spin box only ever holds an order the store takes: an empty or larger text is
  // never an order, and the last one comes back on Enter or when it loses the focus.
  txtOrder_->setRange(1, kMaxOrder);

  auto* fringes = new QGroupBox("Fringes");
  auto* fringeGrid = new QGridLayout(fringes);
  fringeGrid->addWidget(lblOrder_, 0, 0);
  fringeGrid->addWidget(txtOrder_, 0, 1);
  fringeGrid->addWidget(cmdInsert_, 1, 0, 1, 2);
  fringeGrid->addWidget(cmdRemove_, 2, 0, 1, 2);
  fringeGrid->addWidget(cmdRenumber_, 3, 0, 1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fringes);
  layout->addWidget(OutlineFrame("Aperture", cboAperture_, cmdApertureAdd_, cmdApertureClear_,
                                 cmdApertureLoad_, cmdApertureSave_));
  layout->addWidget(OutlineFrame("Obstruction", cboObstruction_, cmdObstructionAdd_,
                                 cmdObstructionClear_, cmdObstructionLoad_,
                                 cmdObstructionSave_));

  OnClick(cmdInsert_, [this] { InsertFringe(); });
  OnClick(cmdRemove_, [this] { RemoveFringe(); });
  OnClick(cmdRenumber_, [this] { RenumberFringe(); });
  OnClick(cmdApertureAdd_, [this] { AddAperture(); });
  OnClick(cmdApertureClear_, [this] { ClearAperture(); });
  OnClick(cmdApertureLoad_, [this] { LoadShape(drawing::kAperture); });
  OnClick(cmdApertureSave_, [this] { SaveShape(drawing::kAperture); });
  OnClick(cmdObstructionAdd_, [this] { AddObstruction(); });
  OnClick(cmdObstructionClear_, [this] { ClearObstruction(); });
  OnClick(cmdObstructionLoad_, [this] { LoadShape(drawing::kObstruction); });
  OnClick(cmdObstructionSave_, [this] { SaveShape(drawing::kObstruction); });
  QObject::connect(txtOrder_, &QSpinBox::valueChanged, this,
                   [this](int value) { GuardHandler([this, value] { OrderTyped(value); }); });

  cboAperture_->setCurrentIndex(GetSettingLong(kToolboxSection, "Aperture Type", 1, 3, 1) - 1);
  cboObstruction_->setCurrentIndex(GetSettingLong(kToolboxSection, "Obstruction Type", 1, 3, 1) -
                                   1);
  currentOrder_ = GetSettingLong(kToolboxSection, "Fringe Order", 1, kMaxOrder, 1);
  txtOrder_->setValue(currentOrder_);
  previousOrder_ = currentOrder_;
  ToolBoxReady = true;
}

void Toolbox::PlaceWindow() {
  adjustSize();
  const QSize screen = ScreenSizeTwips();
  const std::int32_t width = PixelsToTwips(frameGeometry().width());
  const std::int32_t height = PixelsToTwips(frameGeometry().height());
  // By default at the right edge of the main window, level with its top.
  const QPoint beside = DefaultPlaceBesideOwner(0);
  RestorePosition(kToolboxSection, {"Left", 0, screen.width() - width / 2, beside.x()},
                  {"Top", 0, screen.height() - height / 2, beside.y()});
}

void Toolbox::Unload() {
  SavePosition(kToolboxSection, "Left", "Top");
  SaveSettingString(kToolboxSection, "Fringe Order", txtOrder_->text().toStdString());
  SaveSettingLong(kToolboxSection, "Aperture Type", ApertureTypeIndex() + 1);
  SaveSettingLong(kToolboxSection, "Obstruction Type", ObstructionTypeIndex() + 1);
}

std::int32_t Toolbox::ApertureTypeIndex() const { return cboAperture_->currentIndex(); }
std::int32_t Toolbox::ObstructionTypeIndex() const { return cboObstruction_->currentIndex(); }

clsDocument* Toolbox::ActiveDocument(ImageEditController*& editor) const {
  editor = nullptr;
  clsDocument* doc = table_.ActiveDocument();
  if (doc == nullptr || !doc->ImageViewExist) return nullptr;
  editor = ImageEditorOf(*doc);
  return editor != nullptr ? doc : nullptr;
}

void Toolbox::BringViewForward(clsDocument& doc) {
  if (doc.ActiveView != viewtype::kImage) Frame().BringViewToFront(doc, viewtype::kImage);
}

void Toolbox::SetControls(bool state, bool ApertureOn, bool ObstructionOn) {
  for (QWidget* control :
       std::initializer_list<QWidget*>{txtOrder_, cmdInsert_, cmdRemove_, cmdRenumber_, lblOrder_,
                                       cboAperture_, cboObstruction_, cmdApertureAdd_,
                                       cmdApertureLoad_, cmdApertureSave_, cmdObstructionAdd_,
                                       cmdObstructionLoad_, cmdObstructionSave_}) {
    control->setEnabled(state);
  }
  cmdApertureClear_->setEnabled(state || ApertureOn);
  cmdObstructionClear_->setEnabled(state || ObstructionOn);
  if (state) drawingDoc_ = nullptr;
}

// --- Outlines ---

void Toolbox::AddAperture() { AddShape(drawing::kAperture); }
void Toolbox::AddObstruction() { AddShape(drawing::kObstruction); }
void Toolbox::ClearAperture() { ClearShape(drawing::kAperture); }
void Toolbox::ClearObstruction() { ClearShape(drawing::kObstruction); }

void Toolbox::AddShape(std::int32_t object) {
  ImageEditController* editor = nullptr;
  clsDocument* doc = ActiveDocument(editor);
  if (doc == nullptr) return;
  const bool aperture = object == drawing::kAperture;
  const std::int32_t type = (aperture ? ApertureTypeIndex() : ObstructionTypeIndex()) + 1;
  editor->MouseEditMode = true;
  Frame().SetEditToolPressed(true);
  Frame().SetToolBarItems(false);
  editor->ClearSelectedObject();
  editor->ClearMouseClickBuffer();
  if (aperture)
    editor->DeleteAperture();
  else
    editor->DeleteObstruction();
  editor->newMouseClicks = type == clsShape::kCircle ? 4 : type == clsShape::kEllipse ? 3 : 50;
  editor->newDrawingType = type;
  editor->newDrawingObject = object;
  editor->ChangeMouseIcon(0);
  Frame().SetScreenPointer("curAddShape");
  SetControls(false, aperture, !aperture);
  drawingDoc_ = doc;
  Frame().BringViewToFront(*doc, viewtype::kImage);
}

bool Toolbox::StopStrandedDrawing(const clsDocument* active) {
  if (drawingDoc_ == nullptr || drawingDoc_ == active) return false;
  const clsDocument* stranded = drawingDoc_;
  drawingDoc_ = nullptr;
  for (std::int32_t slot = 1; slot <= DocumentTable::kMaxDocuments; ++slot) {
    const auto i = static_cast<std::size_t>(slot);
    if (table_.DocumentInUse[i] && table_.Documents[i].get() == stranded) {
      table_.Documents[i]->Views().StopDrawingObject();
      break;
    }
  }
  SetControls(true, true, true);
  return true;
}

void Toolbox::ClearShape(std::int32_t object) {
  ImageEditController* editor = nullptr;
  clsDocument* doc = ActiveDocument(editor);
  // Clear belongs to the drawing it was left enabled for, never to another document.
  if (StopStrandedDrawing(doc)) return;
  if (doc == nullptr) return;
  BringViewForward(*doc);
  SetControls(true, true, true);
  editor->newMouseClicks = 1;
  editor->newDrawingType = 0;
  editor->newDrawingObject = drawing::kFringeCenters;
  editor->ClearMouseClickBuffer();
  if (object == drawing::kAperture)
    editor->DeleteAperture();
  else
    editor->DeleteObstruction();
  editor->ChangeMouseIcon(0);
  Frame().SetScreenPointer("");
}

bool Toolbox::LoadAperture(clsDocument& doc) {
  return LoadToolboxShape(doc.Aperture, OutlineName(drawing::kAperture));
}

bool Toolbox::LoadObstruction(clsDocument& doc) {
  return LoadToolboxShape(doc.Obstruction, OutlineName(drawing::kObstruction));
}

void Toolbox::LoadShape(std::int32_t object) {
  clsDocument* doc = table_.ActiveDocument();
  if (doc == nullptr) return;
  const bool loaded = object == drawing::kAperture ? LoadAperture(*doc) : LoadObstruction(*doc);
  if (!loaded) return;
  // A new outline makes the mask and the fit stale, and the change is the user's.
  doc->InvalidateMask();
  if (ImageEditController* editor = ImageEditorOf(*doc)) editor->PaintImage();
}

void Toolbox::SaveShape(std::int32_t object) {
  const clsDocument* doc = table_.ActiveDocument();
  if (doc == nullptr) return;
  SaveToolboxShape(object == drawing::kAperture ? doc->Aperture : doc->Obstruction,
                   OutlineName(object));
}

// --- Fringe orders ---

void Toolbox::InsertFringe() { ChangeOrders(&ImageEditController::InsertFringe); }
void Toolbox::RemoveFringe() { ChangeOrders(&ImageEditController::DeleteFringe); }

void Toolbox::ChangeOrders(void (ImageEditController::*command)(std::int32_t)) {
  ImageEditController* editor = nullptr;
  clsDocument* doc = ActiveDocument(editor);
  if (doc == nullptr) return;
  BringViewForward(*doc);
  // The points traced so far belong to the current order as it is now.
  editor->SaveFringe(currentOrder_);
  (editor->*command)(currentOrder_);
  editor->PaintImage();
}

void Toolbox::RenumberFringe() {
  ImageEditController* editor = nullptr;
  clsDocument* doc = ActiveDocument(editor);
  if (doc == nullptr) return;
  BringViewForward(*doc);
  NumberInputRequest request;
  request.Caption = "Renumber Fringe";
  request.Prompt = "Enter new fringe order:";
  request.Text = FormatLong(currentOrder_ < 2 ? 2 : currentOrder_ - 1);
  request.NumberOnly = true;
  request.IntegerOnly = true;
  request.PositiveIntegerOnly = true;
  request.MinimumL = 1;
  request.MaximumL = kMaxOrder;
  const NumberInputAnswer answer = CurrentNumberInputService().Ask(request);
  if (answer.Escaped) return;
  if (answer.OutofRange) {
    ShowMessage("New fringe order is out of range", mb::kOk, "Bad Input");
    return;
  }
  editor->RenumberFringe(answer.ValueL, currentOrder_);
}

void Toolbox::SelectOrder(std::int32_t newOrder) {
  if (!ToolBoxReady || newOrder < 1 || newOrder > kMaxOrder) return;
  ImageEditController* editor = nullptr;
  if (ActiveDocument(editor) == nullptr) return;
  editor->SaveFringe(currentOrder_);
  previousOrder_ = currentOrder_;
  currentOrder_ = newOrder;
  ToolBoxReady = false;
  txtOrder_->setValue(currentOrder_);
  ToolBoxReady = true;
  editor->PaintImage();
}

void Toolbox::OrderTyped(int value) {
  if (!ToolBoxReady) return;
  ImageEditController* editor = nullptr;
  clsDocument* doc = ActiveDocument(editor);
  if (doc == nullptr) {
    // Nothing to record or repaint, but the box and the order stay one.
    currentOrder_ = value;
    return;
  }
  BringViewForward(*doc);
  previousOrder_ = currentOrder_;
  editor->SaveFringe(previousOrder_);
  currentOrder_ = value;
  editor->PaintImage();
}

}  // namespace orvale
