#include "app/dialogs/frmAnalyzeGrid.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "app/dialogs/DialogControls.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "Grid_Window";
constexpr int kFieldWidth = 70;

constexpr std::array<const char*, kGridFieldCount> kFieldNames = {
    "txtGridWidth", "txtCellWidth", "txtCellHeight", "txtGridMaxRMS", "txtGridMaxPV"};

}  // namespace

frmAnalyzeGrid::frmAnalyzeGrid(MainFrame& frame, DocumentTable& table, QWidget* owner)
    : ToolWindow(frame, ViewMenuItem::GridAnalyzeBox, "Analyze Grid", owner),
      controller_(table, frame) {
  BuildControls();
  ShowState();
  adjustSize();  // its size is known before it is first placed
}

frmAnalyzeGrid::~frmAnalyzeGrid() {
  for (QLineEdit* edit : fields_) edit->disconnect(this);
}

void frmAnalyzeGrid::BuildControls() {
  for (int f = 0; f < kGridFieldCount; ++f) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(kFieldNames[static_cast<std::size_t>(f)]);
    edit->setFixedWidth(kFieldWidth);
    connect(edit, &QLineEdit::editingFinished, this,
            [this, f] { GuardHandler([this, f] { CommitField(static_cast<GridField>(f)); }); });
    fields_[static_cast<std::size_t>(f)] = edit;
  }
  cmdGridAdd = NamedButton("Add", "cmdGridAdd", this);
  cmdGridClear = NamedButton("Clear", "cmdGridClear", this);
  cmdGridSave = NamedButton("Save", "cmdGridSave", this);
  cmdGridLoad = NamedButton("Load", "cmdGridLoad", this);
  cmdApply = NamedButton("Apply", "cmdApply", this);
  cmdClose = NamedButton("Close", "cmdClose", this);
  chkGridUseRMS = NamedCheck("Verify RMS", "chkGridUseRMS", this);
  chkGridUsePV = NamedCheck("Verify P-V", "chkGridUsePV", this);

  auto* fraGrid = NamedGroup("Calibrate", "fraGrid", this);
  auto* sizes = new QGridLayout;
  sizes->addWidget(NamedLabel("Grid Width (mm)", "lblApertureWidth", fraGrid), 0, 0);
  sizes->addWidget(Field(GridField::GridWidth), 0, 1);
  sizes->addWidget(NamedLabel("Cell Size (mm)", "lblCellSize", fraGrid), 1, 0);
  sizes->addWidget(Field(GridField::CellWidth), 1, 1);
  sizes->addWidget(NamedLabel("x", "lblGridScale", fraGrid), 1, 2);
  sizes->addWidget(Field(GridField::CellHeight), 1, 3);
  sizes->setColumnStretch(4, 1);
  auto* gridButtons = new QHBoxLayout;
  for (QPushButton* button : {cmdGridAdd, cmdGridClear, cmdGridSave, cmdGridLoad})
    gridButtons->addWidget(button);
  auto* gridLayout = new QVBoxLayout(fraGrid);
  gridLayout->addLayout(sizes);
  gridLayout->addLayout(gridButtons);

  auto* fraUsability = NamedGroup("Usability Criteria", "fraUsability", this);
  auto* limits = new QGridLayout(fraUsability);
  limits->addWidget(chkGridUseRMS, 0, 0);
  limits->addWidget(NamedLabel("RMS", "lblGridMaxRMS", fraUsability), 0, 1);
  limits->addWidget(Field(GridField::MaxRMS), 0, 2);
  limits->addWidget(chkGridUsePV, 1, 0);
  limits->addWidget(NamedLabel("P-V", "lblGridMaxPV", fraUsability), 1, 1);
  limits->addWidget(Field(GridField::MaxPV), 1, 2);
  limits->setColumnStretch(3, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdApply);
  buttons->addWidget(cmdClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraGrid);
  layout->addWidget(fraUsability);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const auto on = [this](QPushButton* button, std::function<void()> command) {
    connect(button, &QPushButton::clicked, this, [this, command] { RunCommand(command); });
  };
  on(cmdGridAdd, [this] { controller_.AddGrid(); });
  on(cmdGridClear, [this] { controller_.ClearGrid(); });
  on(cmdGridSave, [this] { controller_.SaveCalibration(); });
  on(cmdGridLoad, [this] { controller_.LoadCalibration(); });
  on(cmdApply, [this] {
    controller_.Apply([this](bool busy) {
      if (busy) setCursor(Qt::WaitCursor); else unsetCursor();
    });
  });
  connect(cmdClose, &QPushButton::clicked, this, [this] { GuardHandler([this] { HideFromView(); }); });
  connect(chkGridUseRMS, &QCheckBox::toggled, this,
          [this](bool on) { RunCommand([this, on] { controller_.SetUseRMS(on); }); });
  connect(chkGridUsePV, &QCheckBox::toggled, this,
          [this](bool on) { RunCommand([this, on] { controller_.SetUsePV(on); }); });
}

void frmAnalyzeGrid::RunCommand(const std::function<void()>& command) {
  GuardHandler([this, &command] {
    if (CommitPendingEdits()) command();
  });
  // A check box whose command did not run shows its stored state again.
  ShowState();
}

void frmAnalyzeGrid::ShowState() {
  for (int f = 0; f < kGridFieldCount; ++f) {
    QLineEdit* edit = fields_[static_cast<std::size_t>(f)];
    // A refused edit keeps its text for the user to correct.
    if (edit->isModified()) continue;
    const QString text = QString::fromStdString(controller_.Text(static_cast<GridField>(f)));
    // Only a changed text is set: setting it would count as an edit to check again.
    if (edit->text() != text) edit->setText(text);
  }
  for (auto [box, on] : {std::pair{chkGridUseRMS, controller_.UseRMS()},
                         std::pair{chkGridUsePV, controller_.UsePV()}}) {
    const QSignalBlocker blocker(box);
    box->setChecked(on);
  }
  const GridControlStates& s = controller_.States();
  cmdApply->setEnabled(s.Apply);
  cmdGridAdd->setEnabled(s.Add);
  cmdGridSave->setEnabled(s.Save);
  cmdGridClear->setEnabled(s.Clear);
  cmdGridLoad->setEnabled(s.Load);
  Field(GridField::MaxRMS)->setEnabled(s.MaxRMS);
  Field(GridField::MaxPV)->setEnabled(s.MaxPV);
}

bool frmAnalyzeGrid::CommitField(GridField field) {
  // The Warning of a refusal takes the focus, which would end the edit a second time.
  if (committing_) return false;
  committing_ = true;
  QLineEdit* edit = Field(field);
  const QString text = edit->text();
  const bool taken = controller_.CommitField(field, text.toStdString());
  committing_ = false;
  if (taken) {
    edit->setModified(false);
    ShowState();
  } else {
    edit->setModified(true);  // still to take before a command or hiding
    FocusField(field);
  }
  return taken;
}

bool frmAnalyzeGrid::CommitPendingEdits() {
  for (int f = 0; f < kGridFieldCount; ++f) {
    const auto field = static_cast<GridField>(f);
    if (Field(field)->isModified() && !CommitField(field)) return false;
  }
  return true;
}

void frmAnalyzeGrid::FocusField(GridField field) {
  // After the Warning closes: the window may have lost its activation to the main one.
  QLineEdit* edit = Field(field);
  QTimer::singleShot(0, edit, [this, edit] {
    activateWindow();
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
  });
}

bool frmAnalyzeGrid::ReadyToHide() { return CommitPendingEdits(); }

bool frmAnalyzeGrid::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    bool pending = false;
    for (const QLineEdit* edit : fields_) pending = pending || edit->isModified();
    // A refused edit keeps its text for the user to correct.
    if (!pending) GuardHandler([this] { ShowCurrentGridData(); });
  }
  return ToolWindow::event(event);
}

void frmAnalyzeGrid::ShowCurrentGridData() {
  controller_.ShowCurrentGridData();
  // Another document's grid, or none: an edit left pending belonged to the one before.
  for (QLineEdit* edit : fields_) edit->setModified(false);
  ShowState();
}

void frmAnalyzeGrid::Load() {
  adjustSize();
  // By default beside the main window, halfway down it.
  const QWidget* owner = parentWidget();
  const std::int32_t halfway = owner != nullptr ? PixelsToTwips(owner->frameGeometry().height() / 2) : 0;
  const QPoint beside = DefaultPlaceBesideOwner(halfway);
  RestorePositionOnScreen(kSection, "Left", "Top", beside.x(), beside.y());
  ShowCurrentGridData();
}

void frmAnalyzeGrid::Unload() { SavePosition(kSection, "Left", "Top"); }

}  // namespace orvale
