#pragma once
// The Qt side of the font dialog: a face from the installed families, a size of 1 to
// 72 points, bold, italic, underline and a colour, with a sample of the text. Qt's own
// font dialog has no colour, so the program has this one.
#include <QDialog>

#include "platform/ui/FontDialogService.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace orvale {

class FontChooser final : public QDialog {
 public:
  // Shows `request.Initial`; a face that is not installed shows the family the font
  // system gives for it.
  FontChooser(const FontDialogRequest& request, QWidget* owner);

  FontChoice Choice() const;
  // The colour the dialog shows (the colour button sets it through QColorDialog).
  void SetColor(std::int32_t color);

 private:
  void ShowSample();

  QComboBox* cboFace_ = nullptr;
  QSpinBox* spnSize_ = nullptr;
  QCheckBox* chkBold_ = nullptr;
  QCheckBox* chkItalic_ = nullptr;
  QCheckBox* chkUnderline_ = nullptr;
  QPushButton* cmdColor_ = nullptr;
  QLabel* lblSample_ = nullptr;
  std::int32_t color_ = 0;
};

// Shows a FontChooser owned by the active modal window (else the active window).
class QtFontDialogService final : public FontDialogService {
 public:
  FontDialogAnswer ChooseFont(const FontDialogRequest& request) override;
};

}  // namespace orvale
