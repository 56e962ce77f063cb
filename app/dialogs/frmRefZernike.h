#pragma once
// The tool window titled "Reference Zernikes": the 36 coefficients of the custom
// reference wavefront, which Apply subtracts when the reference "Custom" is chosen.
// The values live in the program-wide settings (CustomRefZernikes), which the main
// window writes back at program end.
#include <array>

#include "app/analysis/ZernikeTerms.h"
#include "app/dialogs/ToolWindow.h"

class QLineEdit;

namespace orvale {

struct GeneralSettings;

class frmRefZernike : public ToolWindow {
 public:
  frmRefZernike(MainFrame& frame, GeneralSettings& settings, QWidget* owner);

  // Shows the current coefficients and places the window.
  void Load();
  // Writes the window's place back.
  void Unload();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A box's leading-number value into its coefficient. A value that is not finite
  // would be subtracted from every fit: the coefficient keeps what it had before the
  // box was edited.
  void StoreCoefficient(int term);

  GeneralSettings* settings_;
  std::array<QLineEdit*, kZernikeTermCount + 1> txtZernike{};  // 1..36
  // Each coefficient as it was when its box was shown or last took the focus.
  ZernikeVector beforeEdit_{};
};

}  // namespace orvale
