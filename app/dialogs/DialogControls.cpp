#include "app/dialogs/DialogControls.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/ViewProperties.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

QSpinBox* SettingNumberBox(std::string_view settingKey, const char* objectName, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(objectName);
  const WholeRange range = WholeSettingRange(settingKey);
  box->setRange(range.Minimum, range.Maximum);
  box->setAccelerated(true);
  return box;
}

void AllowOnlyDecimalDigits(QLineEdit& box) {
  box.setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), &box));
}

QGroupBox* NamedGroup(const char* caption, const char* objectName, QWidget* parent) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(objectName);
  return group;
}

QCheckBox* NamedCheck(const char* caption, const char* objectName, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(objectName);
  return box;
}

QPushButton* NamedButton(const char* caption, const char* objectName, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  return button;
}

QLabel* NamedLabel(const char* caption, const char* objectName, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(objectName);
  return label;
}

OkCancelButtons::OkCancelButtons(QDialog& dialog) {
  cmdOK = NamedButton("OK", "cmdOK", &dialog);
  cmdOK->setDefault(true);
  cmdCancel = NamedButton("Cancel", "cmdCancel", &dialog);
  Row = new QHBoxLayout;
  Row->addStretch();
  Row->addWidget(cmdOK);
  Row->addWidget(cmdCancel);
  QObject::connect(cmdCancel, &QPushButton::clicked, &dialog, &QDialog::reject);
}

PlotControls::PlotControls(QWidget* parent) {
  fraContourPlot = NamedGroup("Contour and Surface Plots", "fraContourPlot", parent);
  txtSurfaceLevels = SettingNumberBox(kContourLevelsKey, "txtSurfaceLevels", fraContourPlot);
  txtSurfaceSize = SettingNumberBox(kGridSizeKey, "txtSurfaceSize", fraContourPlot);
  auto* contourLayout = new QFormLayout(fraContourPlot);
  contourLayout->addRow("Contour Levels", txtSurfaceLevels);
  contourLayout->addRow("Grid Size", txtSurfaceSize);

  fraSurfacePlot = NamedGroup("Surface Plot", "fraSurfacePlot", parent);
  chkFillPolygons = NamedCheck("Fill Polygons", "chkFillPolygons", fraSurfacePlot);
  chkDrawBlackMesh = NamedCheck("Draw Black Mesh", "chkDrawBlackMesh", fraSurfacePlot);
  SurfaceLayout = new QFormLayout(fraSurfacePlot);
  SurfaceLayout->addRow(chkFillPolygons);
  SurfaceLayout->addRow(chkDrawBlackMesh);

  fraLinePlot = NamedGroup("Line Profile", "fraLinePlot", parent);
  txtLinePoints = SettingNumberBox(kLinePointsKey, "txtLinePoints", fraLinePlot);
  LineLayout = new QFormLayout(fraLinePlot);
  LineLayout->addRow("Number of Points", txtLinePoints);

  fraSFringe = NamedGroup("Synthetic Fringes", "fraSFringe", parent);
  txtImageSize = SettingNumberBox(kImageSizeKey, "txtImageSize", fraSFringe);
  auto* fringesLayout = new QFormLayout(fraSFringe);
  fringesLayout->addRow("Image Size", txtImageSize);

  fraText = NamedGroup("Aberrations and Zernikes", "fraText", parent);
  cmdFontScreen = NamedButton("Screen Font", "cmdFontScreen", fraText);
  cmdFontPrinter = NamedButton("Printer Font", "cmdFontPrinter", fraText);
  auto* textLayout = new QVBoxLayout(fraText);
  textLayout->addWidget(cmdFontScreen);
  textLayout->addWidget(cmdFontPrinter);
}

}  // namespace orvale
