#include "app/dialogs/frmProperties.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/DialogControls.h"
#include "app/dialogs/DialogPosition.h"
#include "app/dialogs/TextStyleChoice.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

constexpr std::string_view kLeftKey = "PropertiesLeft";
constexpr std::string_view kTopKey = "PropertiesTop";

}  // namespace

frmProperties::frmProperties(clsDocument& doc, QWidget* owner)
    : QDialog(owner), doc_(&doc), model_(ReadViewProperties(doc)) {
  setWindowTitle("Properties");
  setModal(true);
  BuildControls();
  ShowControls();
  adjustSize();
  RestoreDialogPosition(*this, kLeftKey, kTopKey);
}

frmProperties::~frmProperties() = default;

void frmProperties::BuildControls() {
  plot_ = std::make_unique<PlotControls>(this);
  chkAutoScale = NamedCheck("Auto Scale Plots", "chkAutoScale", this);
  txtZMin = new QLineEdit(this);
  txtZMin->setObjectName("txtZMin");
  txtZMax = new QLineEdit(this);
  txtZMax->setObjectName("txtZMax");
  chkLimitScale = NamedCheck("Limit Scale to 0.5 Wave", "chkLimitScale", this);
  auto* scaleLayout = new QFormLayout;
  scaleLayout->addRow(chkAutoScale);
  scaleLayout->addRow("Z Minimum", txtZMin);
  scaleLayout->addRow("Z Maximum", txtZMax);
  scaleLayout->addRow(chkLimitScale);

  const OkCancelButtons buttons(*this);
  auto* grid = new QGridLayout;
  grid->addWidget(plot_->fraContourPlot, 0, 0);
  grid->addWidget(plot_->fraSurfacePlot, 0, 1);
  grid->addWidget(plot_->fraLinePlot, 1, 0);
  grid->addWidget(plot_->fraSFringe, 1, 1);
  grid->addLayout(scaleLayout, 2, 0);
  grid->addWidget(plot_->fraText, 2, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons.Row);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(chkAutoScale, &QCheckBox::clicked, this, [this] { GuardHandler([this] { ApplyCheckRules(); }); });
  connect(plot_->chkFillPolygons, &QCheckBox::clicked, this, [this] { GuardHandler([this] { ApplyCheckRules(); }); });
  // Both styles may take printer fonts: the document prints with either.
  connect(plot_->cmdFontScreen, &QPushButton::clicked, this,
          [this] { GuardHandler([this] { model_.Text.Choose(true, kPrinterFontFlags); }); });
  connect(plot_->cmdFontPrinter, &QPushButton::clicked, this,
          [this] { GuardHandler([this] { model_.Text.Choose(false, kPrinterFontFlags); }); });
  connect(buttons.cmdOK, &QPushButton::clicked, this, [this] { GuardHandler([this] { Ok(); }); });
}

void frmProperties::ShowControls() {
  plot_->txtSurfaceLevels->setValue(model_.ContourLevels);
  plot_->txtSurfaceSize->setValue(model_.GridSize);
  plot_->chkFillPolygons->setChecked(model_.FillPolygons);
  plot_->chkDrawBlackMesh->setChecked(model_.DrawBlackMesh);
  plot_->txtLinePoints->setValue(model_.LinePoints);
  plot_->txtImageSize->setValue(model_.ImageSize);
  chkAutoScale->setChecked(model_.AutoScale);
  txtZMin->setText(QtText(model_.ZMinText));
  txtZMax->setText(QtText(model_.ZMaxText));
  chkLimitScale->setChecked(model_.LimitScale);
  ApplyCheckRules();
}

void frmProperties::ApplyCheckRules() {
  const PlotCheckStates states = ComputePlotCheckStates(
      chkAutoScale->isChecked(), chkLimitScale->isChecked(), plot_->chkFillPolygons->isChecked());
  chkLimitScale->setChecked(states.LimitScaleChecked);
  chkLimitScale->setEnabled(states.LimitScaleEnabled);
  txtZMin->setEnabled(states.ZRangeEnabled);
  txtZMax->setEnabled(states.ZRangeEnabled);
  plot_->chkDrawBlackMesh->setEnabled(states.DrawMeshEnabled);
}

ViewPropertiesControls frmProperties::Controls() const {
  ViewPropertiesControls c = model_;  // the two text styles and their flags
  c.ContourLevels = plot_->txtSurfaceLevels->value();
  c.GridSize = plot_->txtSurfaceSize->value();
  c.FillPolygons = plot_->chkFillPolygons->isChecked();
  c.DrawBlackMesh = plot_->chkDrawBlackMesh->isChecked();
  c.LinePoints = plot_->txtLinePoints->value();
  c.ImageSize = plot_->txtImageSize->value();
  c.AutoScale = chkAutoScale->isChecked();
  c.ZMinText = txtZMin->text().toStdString();
  c.ZMaxText = txtZMax->text().toStdString();
  c.LimitScale = chkLimitScale->isChecked();
  return c;
}

void frmProperties::Ok() {
  if (!ApplyViewProperties(*doc_, Controls(), reinterpret_cast<WindowHandle>(this))) {
    txtZMin->setFocus();
    txtZMin->selectAll();
    return;
  }
  SaveDialogPosition(*this, kLeftKey, kTopKey);
  accept();
}

void ShowPropertiesDialog(const DocumentTable& table, QWidget* owner) {
  clsDocument* doc = PropertiesDocument(table);
  if (doc == nullptr) return;
  frmProperties dialog(*doc, owner);
  dialog.exec();
}

}  // namespace orvale
