#pragma once
// The "Image Format" dialog: crop, output size, interlace, trigger and flash, signal type,
// colour setting and picture adjustments of a configuration record, with a live preview
// of the whole picture and the crop drawn over it. Controls are named by the ids of the
// original dialog resource ("406" is the X offset field), so tests find them.
//
// Every change goes into the record; a 1 ms timer applies it to the card (ZLV_prepare),
// snaps a small picture and draws it. OK keeps the record, Cancel puts back the copy made
// at opening; both apply the record once more.
#include <QDialog>
#include <memory>
#include <vector>

#include "cards/melvex/ZelvoLibrary.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/ui/TimerService.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace orvale::melvex {

class PreviewFrame;

class ImageFormatDialog final : public QDialog {
 public:
  enum Id {
    kOk = 1, kCancel = 2, kDefault = 350,
    kXActive = 402, kYActive = 403, kInterlaced = 404, kYOffset = 405, kXOffset = 406,
    kXPixels = 310, kYPixels = 311, kColour = 312, kTrigger = 314, kFlash = 315,
    kSaturationLetter = 313, kHueLetter = 309, kStandard = 353, kSignalType = 407, kPreview = 408,
    kBrightness = 301, kContrast = 302, kSaturation = 303, kHue = 304,
    kBrightnessValue = 305, kContrastValue = 306, kSaturationValue = 307, kHueValue = 308,
  };
  static constexpr int kPreviewWidth = 192;
  static constexpr int kPreviewHeight = 144;

  // Opens over `record` (kept by the caller for the dialog's life). The preview is drawn
  // on the dialog's own picture unless a surface is given (tests record it).
  ImageFormatDialog(ZelvoLibrary& library, ZlvConfig& record, TimerService& timers,
                    QWidget* parent = nullptr, gdi::DeviceContext* previewSurface = nullptr);
  ~ImageFormatDialog() override;

  // What the controls and the timer do; tests call them directly.
  void Tick();
  void EditChanged();
  void EditLeft();
  void ColourSelected(int index);
  void TriggerToggled(bool checked);
  void FlashToggled(bool checked);
  void SignalTypeSelected(int index);
  void InterlacedToggled(bool checked);
  void Default();
  void ScrollMoved(int id, int position);
  void MouseDown(int x, int y);
  void MouseMove(int x, int y, bool leftButton);
  int Ok();
  int Cancel();

  QWidget* Control(int id) const;

 private:
  void BuildControls();
  void Fill();
  void LoadLimits();
  void ShowAdjustments();
  void MakePalette();
  void Prepare();
  void EndSteps();
  std::vector<int> OfferedFormats() const;
  ZlpSnapRequest& Request();
  // A preview point as a crop corner of the record's standard.
  int ToX(int x) const;
  int ToY(int y) const;

  ZelvoLibrary& library_;
  ZlvConfig& record_;
  ZlvConfig saved_;
  TimerService& timers_;
  TimerId timer_ = 0;
  ZlpLimits limits_{};
  int lastStandard_ = -1;
  bool filling_ = false;
  bool ownsPalette_ = false;
  bool ended_ = false;
  bool dragging_ = false;
  int dragX_ = 0;
  int dragY_ = 0;

  std::unique_ptr<gdi::DeviceContext> picture_;
  gdi::DeviceContext* preview_ = nullptr;
  PreviewFrame* frame_ = nullptr;
  QLineEdit* xOffset_ = nullptr;
  QLineEdit* yOffset_ = nullptr;
  QLineEdit* xActive_ = nullptr;
  QLineEdit* yActive_ = nullptr;
  QLineEdit* xPixels_ = nullptr;
  QLineEdit* yPixels_ = nullptr;
  QLineEdit* standard_ = nullptr;
  QCheckBox* interlaced_ = nullptr;
  QCheckBox* trigger_ = nullptr;
  QCheckBox* flash_ = nullptr;
  QComboBox* signalType_ = nullptr;
  QComboBox* colour_ = nullptr;
  QScrollBar* bars_[4] = {};
  QLabel* values_[4] = {};
  QLabel* saturationLetter_ = nullptr;
  QLabel* hueLetter_ = nullptr;
};

// Shows the dialog modally over the parent widget (null for none); 1 for OK, 2 for
// Cancel, -1 without a QApplication to show it in, off the application's thread, or when
// the parent names no live widget.
std::int32_t RunImageFormatDialog(ZelvoLibrary& library, void* parentWindow, ZlvConfig& config);

}  // namespace orvale::melvex
