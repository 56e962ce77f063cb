#pragma once
// The modal "Preferences" dialog: the program-wide defaults for new plots and views,
// the image display, grabbing, the report text styles, the automatic tracing density,
// the frame-grabber plug-in and the workspace rule. Its controls mirror a
// PreferencesControls model; OK stores it through StorePreferences and then applies
// the grabber and workspace changes at once (CompletePreferences).
#include <QDialog>
#include <array>
#include <memory>

#include "app/dialogs/Preferences.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace orvale {

struct PlotControls;

class frmPreferences final : public QDialog {
 public:
  // Edits `settings` and selects plug-ins in `grabber`; a new workspace rule rearranges
  // the windows of `table`'s documents through `frame`.
  frmPreferences(GeneralSettings& settings, GrabberState& grabber, DocumentTable& table,
                 MainFrame& frame, QWidget* owner);
  ~frmPreferences() override;

  // The values the controls show.
  PreferencesControls Controls() const;

 private:
  QWidget* BuildGeneralTab();
  QWidget* BuildDisplayTab();
  void ShowControls();
  void Ok();

  GeneralSettings* settings_;
  GrabberState* grabber_;
  DocumentTable* table_;
  MainFrame* frame_;
  PreferencesControls model_;

  QTabWidget* tbsPreferences = nullptr;
  QComboBox* cboGrabCard = nullptr;
  QCheckBox* chkGrabNew = nullptr;
  QLineEdit* txtAspectRatio = nullptr;
  QComboBox* cboFringeDensity = nullptr;
  QCheckBox* chkAutoLoadAperture = nullptr;
  QCheckBox* chkAutoLoadObstruction = nullptr;
  std::array<QRadioButton*, 2> optWindowShare{};
  std::array<QCheckBox*, kResultWindowCount> chkViews{};
  QCheckBox* chkLimitScale = nullptr;
  QCheckBox* chkRedDisplay = nullptr;
  QCheckBox* chkAutoStretch = nullptr;
  // The shared plot groups and the text-style buttons, made with the "Display" tab.
  std::unique_ptr<PlotControls> plot_;
  QSpinBox* txtSurfaceTheta = nullptr;
  QSpinBox* txtSurfacePhi = nullptr;
  QSpinBox* txtLineAngle = nullptr;
};

}  // namespace orvale
