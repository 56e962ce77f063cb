#pragma once
// This room (app/dialogs) holds the tool windows and dialogs and their plain models:
// analysis options with Apply, reference Zernikes, grid analysis, averaging and math,
// view properties, user data, aspect ratio and preferences, and what several rooms
// above share (the grabber selection, the number-input service, the tool-window base).
// It may use the plots (app/plots) and every room below them; the image view, the
// automation server, the report and the main window use it.
//
// The analysis-options tool window titled "Analyze": which aberrations are removed,
// which reference is subtracted, scale factor, wavelengths, display units, trimming
// and fit order, with the Apply command. Its controls mirror an AnalyzeControls model;
// automation and the main window's commands go through the model and ApplyAnalysis.
#include <array>
#include <cstdint>
#include <functional>

#include "app/dialogs/AnalyzeControls.h"
#include "app/dialogs/ApplyAnalysis.h"
#include "app/dialogs/ToolWindow.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvale {

class DocumentTable;

class frmAnalyze : public ToolWindow {
 public:
  // Works on the active document of `table`; `owner` is the main window.
  frmAnalyze(MainFrame& frame, DocumentTable& table, QWidget* owner);

  // Reads the options of section "Analyze" and places the window: by default at the
  // right edge of the main window, `belowTwips` below its top (under the toolbox).
  void Load(std::int32_t belowTwips = 0);
  // Writes the options and the window's place back.
  void Unload();

  // Runs Apply on the active document with the current options.
  ApplyOutcome ApplyAnalysis();

  // Enables the option controls while a document is open, unless `ForceOff`; Close and
  // the wavelength, unit and trim controls are left as they are.
  void SetControls(bool ForceOff);

  const AnalyzeControls& Controls() const { return model_; }
  // Changes the options from outside (automation) and shows the result.
  void EditControls(const std::function<void(AnalyzeControls&)>& edit);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void ConnectControls();
  // Shows the model in the controls without echoing the changes back.
  void ShowControls();

  DocumentTable* table_;
  AnalyzeControls model_;

  std::array<QCheckBox*, kRemoveCount> chkRemove{};
  QComboBox* cboReference = nullptr;
  QPushButton* cmdBrowse = nullptr;
  std::array<QRadioButton*, 3> optScaleFactor{};
  QLineEdit* txtScaleFactor = nullptr;
  QCheckBox* chkInvertWavefront = nullptr;
  QLineEdit* txtInputWL = nullptr;
  QLineEdit* txtOutputWL = nullptr;
  std::array<QRadioButton*, 3> optDisplay{};
  QCheckBox* chkTrim = nullptr;
  QComboBox* cboLimitOrder = nullptr;
  QPushButton* cmdApply = nullptr;
  QPushButton* cmdClose = nullptr;
};

}  // namespace orvale
