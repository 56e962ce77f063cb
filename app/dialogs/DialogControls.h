#pragma once
// Small pieces the modal dialogs build their controls from.
#include <QString>
#include <string>
#include <string_view>

class QCheckBox;
class QDialog;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace orvale {

inline QString QtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A number box for a whole-number setting: digits only, within the setting's range
// (GeneralSettingKeys), so that neither a sign, a letter nor a value beyond the range
// can be typed. An emptied box keeps its last value.
QSpinBox* SettingNumberBox(std::string_view settingKey, const char* objectName, QWidget* parent);

// Lets only the digits and the point into a text box: no sign, no exponent, no comma.
void AllowOnlyDecimalDigits(QLineEdit& box);

// A framed group with its object name.
QGroupBox* NamedGroup(const char* caption, const char* objectName, QWidget* parent);

// A check box with its object name.
QCheckBox* NamedCheck(const char* caption, const char* objectName, QWidget* parent);

// A push button with its object name.
QPushButton* NamedButton(const char* caption, const char* objectName, QWidget* parent);

// A label with its object name.
QLabel* NamedLabel(const char* caption, const char* objectName, QWidget* parent);

// The "OK" (the default button) and "Cancel" buttons of a dialog at the right of a row;
// Cancel rejects the dialog. A dialog may put more at the row's left.
struct OkCancelButtons {
  explicit OkCancelButtons(QDialog& dialog);

  QPushButton* cmdOK;
  QPushButton* cmdCancel;
  QHBoxLayout* Row;
};

// The plot controls the view properties and the preferences share, each in its framed
// group: "Contour and Surface Plots" (levels, grid size), "Surface Plot" (fill, mesh),
// "Line Profile" (points), "Synthetic Fringes" (image size) and "Aberrations and
// Zernikes" (the two text-style buttons). The preferences add rows to two of the
// groups' layouts.
struct PlotControls {
  explicit PlotControls(QWidget* parent);

  QGroupBox* fraContourPlot;
  QSpinBox* txtSurfaceLevels;
  QSpinBox* txtSurfaceSize;
  QGroupBox* fraSurfacePlot;
  QFormLayout* SurfaceLayout;
  QCheckBox* chkFillPolygons;
  QCheckBox* chkDrawBlackMesh;
  QGroupBox* fraLinePlot;
  QFormLayout* LineLayout;
  QSpinBox* txtLinePoints;
  QGroupBox* fraSFringe;
  QSpinBox* txtImageSize;
  QGroupBox* fraText;
  QPushButton* cmdFontScreen;
  QPushButton* cmdFontPrinter;
};

}  // namespace orvale
