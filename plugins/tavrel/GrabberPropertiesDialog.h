#pragma once
// "Tavrel Properties": the camera to use, a "Settings" menu of what the camera lets the
// user set, and OK, which saves the camera. Choosing another camera switches the engine to
// it at once, and the menu to what that camera offers; closing the window without OK
// saves nothing.
#include <QDialog>

#include "plugins/tavrel/CaptureEngine.h"
#include "plugins/tavrel/TavrelSettings.h"

class QComboBox;
class QMenu;
class QPushButton;

namespace orvale {

class GrabberPropertiesDialog final : public QDialog {
 public:
  explicit GrabberPropertiesDialog(CaptureEngine& engine, QWidget* parent = nullptr);

  QComboBox* CameraList() const { return cameras_; }
  QPushButton* SettingsButton() const { return settings_; }
  QMenu* SettingsMenu() const { return menu_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  void CameraChosen(int item);
  // The entries of what the open camera lets the user set.
  void FillSettingsMenu();
  void ShowSettingsMenu();
  void Save();

  CaptureEngine& engine_;
  TavrelSettings values_;
  QComboBox* cameras_;
  QPushButton* settings_;
  QMenu* menu_;
  QPushButton* ok_;
};

// Runs the dialog modally over the active window; false when no QApplication runs.
bool RunGrabberPropertiesDialog(CaptureEngine& engine);

}  // namespace orvale
