#pragma once
// This room (app/report) holds the printed test report and its page setup. It uses the
// dialogs and every room below; it never includes the image view or the automation
// server beside it, and reaches the document's windows only through their print hook.
//
// The page setup dialog: the number of panes, each pane's kind, the orientation, the
// frame lines and the lines of the printed aberrations and comments, with a live
// preview of the page. OK copies the controls into the report settings; Cancel, Esc
// and the close box change nothing. Its place is kept in the settings either way.
#include <QDialog>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "app/report/PagePreview.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace orvale {

struct GeneralSettings;

// The preview box: a square drawn from the dialog's controls at each paint.
class PagePreviewBox final : public QWidget {
 public:
  PagePreviewBox(std::function<PagePreviewState()> state, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::function<PagePreviewState()> state_;
};

class frmPageSetup final : public QDialog {
 public:
  // `settings` (the program's) must outlive the dialog; the dialog is placed where it
  // was last, unless too little of it would be on the screen there.
  frmPageSetup(GeneralSettings& settings, QWidget* owner);

  QLabel* const lblPanes;
  QComboBox* const cboPanes;
  std::array<QLabel*, 7> lblPane{};       // 1..6
  std::array<QComboBox*, 7> cboViews{};   // 1..6; items carry the pane kinds
  QGroupBox* const frmOrientation;
  QRadioButton* const optOrient1;         // "Portrait"
  QRadioButton* const optOrient2;         // "Landscape"
  QCheckBox* const chkDrawGrid;
  QGroupBox* const fraShow;
  std::array<QCheckBox*, 16> chkShow{};   // 1..15
  PagePreviewBox* const picPreview;
  QPushButton* const cmdOK;
  QPushButton* const cmdCancel;

  // What the preview draws: the controls and the dialog's pane count.
  PagePreviewState PreviewState() const;

  void done(int result) override;

 private:
  void Load();
  void PanesChanged();
  void cmdOK_Click();

  GeneralSettings& settings_;
  std::int32_t panes_ = 1;
};

}  // namespace orvale
