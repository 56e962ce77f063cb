#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>
#include <cstring>
#include <memory>
#include <thread>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DigitizerLimits.h"
#include "cards/melvex/dialog/ImageFormatDialog.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/ui/TimerService.h"
#include "tests/cards/melvex/CardFixture.h"
#include "tests/cards/melvex/DibTestSupport.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;
using testing::Request;
using D = ImageFormatDialog;

gdi::DeviceCaps Display(int bits) { return testing::DisplayOfBits(bits, D::kPreviewWidth, D::kPreviewHeight); }

class FormatDialogTest : public CardFixture {
 protected:
  void SetUp() override {
    InitAndConfigure(1);
    record = DefaultConfig(LimitsOf(0), LimitsOf(1));
    record.standard = 1;
    record.requestPAL = Request(20, 900, 640, 10, 580, 480);
  }
  std::unique_ptr<D> Open(int displayBits = 32) {
    preview = std::make_unique<gdi::RecordingDeviceContext>(Display(displayBits));
    return std::make_unique<D>(Lib(), record, timers, nullptr, preview.get());
  }
  template <class W>
  W* Get(D& dialog, int id) {
    return qobject_cast<W*>(dialog.Control(id));
  }
  static QStringList Items(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
  }

  ZlvConfig record{};
  PumpedTimerService timers{Card().VirtualTime()};
  std::unique_ptr<gdi::RecordingDeviceContext> preview;
};

TEST_F(FormatDialogTest, CancelPutsTheRecordBackAndAppliesItAgain) {
  ASSERT_EQ(Lib().ZLV_prepare(&record, 1), code::kOk);
  const ZlvConfig before = record;
  auto dialog = Open();
  Get<QScrollBar>(*dialog, D::kBrightness)->setValue(-50);
  Get<QLineEdit>(*dialog, D::kXOffset)->setText("40");
  dialog->Tick();
  EXPECT_EQ(Card().Register(10), 50);
  EXPECT_EQ(record.requestPAL.xOffset, 40);
  EXPECT_EQ(dialog->Cancel(), 2);
  EXPECT_EQ(std::memcmp(&record, &before, sizeof(record)), 0);
  EXPECT_EQ(Card().Register(10), 0);  // applied again
  EXPECT_FALSE(timers.IsActive(1));
}

TEST_F(FormatDialogTest, OkKeepsTheChanges) {
  auto dialog = Open();
  Get<QScrollBar>(*dialog, D::kContrast)->setValue(20);
  Get<QComboBox>(*dialog, D::kSignalType)->setCurrentIndex(1);
  EXPECT_EQ(dialog->Ok(), 1);
  EXPECT_EQ(record.contrast, -20);
  EXPECT_EQ(record.signalType, 1);
  EXPECT_EQ(timers.ActiveCount(), 0u);
}

TEST_F(FormatDialogTest, TheExportShowsNothingWithoutARecordOrAWindow) {
  EXPECT_EQ(Lib().ZLV_formatDialogBox(nullptr, nullptr, &record), -1);  // no dialog runner
  Lib().SetFormatDialog([this](void* parent, ZlvConfig& config) { return RunImageFormatDialog(Lib(), parent, config); });
  EXPECT_EQ(Lib().ZLV_formatDialogBox(nullptr, nullptr, nullptr), -1);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLV_formatDialogBox");
}

TEST_F(FormatDialogTest, TheExportRefusesParentsThatAreNoLiveWidgetAndOtherThreads) {
  Lib().SetFormatDialog([this](void* parent, ZlvConfig& config) { return RunImageFormatDialog(Lib(), parent, config); });
  const ZlvConfig before = record;
  auto deleted = std::make_unique<QWidget>();
  void* stale = deleted.get();
  deleted.reset();
  QObject notAWidget;
  for (void* parent : {stale, static_cast<void*>(&notAWidget)}) {
    EXPECT_EQ(Lib().ZLV_formatDialogBox(nullptr, parent, &record), -1);
    EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLV_formatDialogBox");
  }
  std::int32_t fromThread = 0;
  std::thread([&] { fromThread = Lib().ZLV_formatDialogBox(nullptr, nullptr, &record); }).join();
  EXPECT_EQ(fromThread, -1);
  EXPECT_EQ(std::memcmp(&record, &before, sizeof(record)), 0);
}

TEST_F(FormatDialogTest, ColourSettingListsTheOfferedFormatsInItsOrder) {
  record.outputFormat = 5;
  record.gray16Enable = 0;
  record.color256Enable = 0;
  auto dialog = Open();
  QComboBox* colour = Get<QComboBox>(*dialog, D::kColour);
  EXPECT_EQ(Items(colour), (QStringList{"256 gray levels", "32k colors", "64k colors", "16M colors", "32bit colors"}));
  EXPECT_EQ(colour->currentText(), "64k colors");
  EXPECT_TRUE(colour->isEnabled());
  colour->setCurrentIndex(0);
  EXPECT_EQ(record.outputFormat, 1);
  dialog->Cancel();

  record.gray256Enable = record.color32kEnable = record.color64kEnable = record.color32bitEnable = 0;
  auto single = Open();
  EXPECT_EQ(Items(Get<QComboBox>(*single, D::kColour)), QStringList{"16M colors"});
  EXPECT_FALSE(Get<QComboBox>(*single, D::kColour)->isEnabled());
}

TEST_F(FormatDialogTest, InterlacedHalvesAndDoublesTheVerticalFieldsAndTheWidth) {
  auto dialog = Open();
  QCheckBox* interlaced = Get<QCheckBox>(*dialog, D::kInterlaced);
  ASSERT_TRUE(interlaced->isChecked());
  interlaced->setChecked(false);
  EXPECT_EQ(record.requestPAL.interlaced, 0);
  EXPECT_EQ(record.requestPAL.xPixels, 320);
  EXPECT_EQ(record.requestPAL.yOffset, 5);
  EXPECT_EQ(record.requestPAL.yActive, 290);
  EXPECT_EQ(record.requestPAL.yPixels, 240);
  EXPECT_EQ(Get<QLineEdit>(*dialog, D::kYActive)->text(), "290");
  interlaced->setChecked(true);
  EXPECT_EQ(record.requestPAL.xPixels, 640);
  EXPECT_EQ(record.requestPAL.yActive, 580);
  EXPECT_EQ(record.requestPAL.xActive, 900);  // untouched either way
}

TEST_F(FormatDialogTest, DefaultCropsToThePictureWithSquarePixels) {
  Card().Input(0).scene = std::make_shared<sim::RectangleScene>(12, 20, 930, 600);
  record.brightness = 40;
  auto dialog = Open();
  dialog->Default();
  EXPECT_EQ(record.brightness, 0);
  EXPECT_EQ(record.requestPAL.xOffset, 13);
  EXPECT_EQ(record.requestPAL.xActive, 917);
  EXPECT_EQ(record.requestPAL.yOffset, 20);
  EXPECT_EQ(record.requestPAL.yActive, 581);
  EXPECT_EQ(record.requestPAL.xPixels, (917 * 768 + 460) / 920);
  EXPECT_EQ(record.requestPAL.yPixels, 581);
  EXPECT_EQ(Get<QLineEdit>(*dialog, D::kXActive)->text(), "917");
}

TEST_F(FormatDialogTest, DraggingInThePreviewSetsTheCrop) {
  auto dialog = Open();
  dialog->MouseDown(-1, 10);  // outside: nothing starts
  dialog->MouseMove(50, 50, true);
  EXPECT_EQ(record.requestPAL.xOffset, 20);

  dialog->MouseDown(96, 72);
  EXPECT_EQ(record.requestPAL.xOffset, 96 * 950 / D::kPreviewWidth);
  EXPECT_EQ(record.requestPAL.yOffset, 72 * 610 / D::kPreviewHeight);
  EXPECT_EQ(record.requestPAL.xActive, 10);
  EXPECT_EQ(record.requestPAL.yPixels, 10);
  dialog->MouseMove(48, 100, true);  // up and left of the start on x, below on y
  EXPECT_EQ(record.requestPAL.xOffset, 48 * 950 / D::kPreviewWidth);
  EXPECT_EQ(record.requestPAL.xActive, 48 * 950 / D::kPreviewWidth);
  EXPECT_EQ(record.requestPAL.yActive, 28 * 610 / D::kPreviewHeight);
  EXPECT_EQ(record.requestPAL.yPixels, record.requestPAL.yActive);
  EXPECT_EQ(record.requestPAL.xPixels, SquarePixelWidth(record.requestPAL, 1));
  dialog->MouseMove(97, 73, true);  // hardly moved: at least 10
  EXPECT_EQ(record.requestPAL.xActive, 10);
  dialog->MouseMove(150, 140, false);  // released
  dialog->MouseMove(10, 10, true);
  EXPECT_EQ(record.requestPAL.xActive, 10);
}

TEST_F(FormatDialogTest, TickDrawsThePreviewAndTheCropFrame) {
  auto dialog = Open();
  preview->ClearRecords();
  dialog->Tick();
  std::vector<std::string> calls;
  for (const gdi::DrawRecord& r : preview->Records()) calls.push_back(r.call);
  ASSERT_EQ(calls, (std::vector<std::string>{"SetDIBitsToDevice", "Rectangle"}));
  // The picture: one field of the whole area, one pixel wider and higher than the frame.
  EXPECT_EQ(preview->Records()[0].rect, (gdi::Rect{0, 0, D::kPreviewWidth + 1, D::kPreviewHeight + 1}));
  const gdi::DrawRecord& frame = preview->Records()[1];
  EXPECT_EQ(frame.rect, (gdi::Rect{20 * 192 / 950, 10 * 144 / 610, 920 * 192 / 950, 590 * 144 / 610}));
  EXPECT_EQ(frame.state.pen.color, 0xFFFFFFu);
  EXPECT_TRUE(frame.state.brush.IsNull());

  // A crop wider than the preview in samples stops at its edge; one field counts twice.
  record.requestPAL = Request(0, 950, 640, 100, 200, 200, 0);
  preview->ClearRecords();
  dialog->Tick();
  EXPECT_EQ(preview->Records().back().rect, (gdi::Rect{0, 200 * 144 / 610, 192, 600 * 144 / 610}));
}

TEST_F(FormatDialogTest, ATickAfterAStandardChangeRefillsTheControls) {
  auto dialog = Open();
  EXPECT_EQ(Get<QLineEdit>(*dialog, D::kStandard)->text(), " PAL");
  Card().Input(0).standard = 0;
  record.requestNTSC = Request(30, 600, 400, 20, 400, 300);
  dialog->Tick();
  EXPECT_EQ(record.standard, 0);
  EXPECT_EQ(Get<QLineEdit>(*dialog, D::kStandard)->text(), " NTSC");
  EXPECT_EQ(Get<QLineEdit>(*dialog, D::kXActive)->text(), "600");
  preview->ClearRecords();
  dialog->Tick();
  EXPECT_EQ(preview->Records().back().rect, (gdi::Rect{30 * 192 / 780, 20 * 144 / 510, 630 * 192 / 780, 420 * 144 / 510}));
  Card().Input(0).signal = false;
  dialog->Tick();
  EXPECT_EQ(Get<QLineEdit>(*dialog, D::kStandard)->text(), " No signal");
}

TEST_F(FormatDialogTest, AdjustmentBarsMoveByLinesAndPagesWithinTheirRange) {
  auto dialog = Open();
  QScrollBar* brightness = Get<QScrollBar>(*dialog, D::kBrightness);
  brightness->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(record.brightness, 1);
  EXPECT_EQ(Get<QLabel>(*dialog, D::kBrightnessValue)->text(), "0");  // 1 x 100 / 127
  for (int i = 0; i < 20; ++i) brightness->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(record.brightness, 127);
  EXPECT_EQ(Get<QLabel>(*dialog, D::kBrightnessValue)->text(), "100");
  for (int i = 0; i < 30; ++i) brightness->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(record.brightness, -127);
  brightness->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(record.brightness, -127);
  dialog->Tick();
  std::int8_t written = 0;
  ASSERT_EQ(Lib().ZLP_getBrightness(&written), code::kOk);
  EXPECT_EQ(written, -127);
}

TEST_F(FormatDialogTest, HueShowsOnlyForColourOn525Lines) {
  struct Case {
    int standard, format;
    bool saturation, hue;
  };
  for (const Case& c : {Case{1, 7, true, false}, Case{0, 7, true, true}, Case{0, 1, false, false}, Case{1, 2, false, false}}) {
    Card().Input(0).standard = c.standard;
    record.outputFormat = c.format;
    record.hue = 9;
    auto dialog = Open();
    EXPECT_EQ(!dialog->Control(D::kSaturation)->isHidden(), c.saturation) << c.standard << "/" << c.format;
    EXPECT_EQ(!dialog->Control(D::kSaturationLetter)->isHidden(), c.saturation);
    EXPECT_EQ(!dialog->Control(D::kHue)->isHidden(), c.hue) << c.standard << "/" << c.format;
    EXPECT_EQ(!dialog->Control(D::kHueLetter)->isHidden(), c.hue);
    EXPECT_EQ(record.hue, c.standard == 1 ? 0 : 9);
    dialog->Cancel();
  }
}

TEST_F(FormatDialogTest, OversizedFieldsStopAtTheLargestValueBeforeTheClamp) {
  auto dialog = Open();
  // 65600 would wrap to 64 in a 16-bit field; it saturates and is then clamped.
  Get<QLineEdit>(*dialog, D::kXPixels)->setText("65600");
  EXPECT_EQ(record.requestPAL.xPixels, 3200);
  Get<QLineEdit>(*dialog, D::kXOffset)->setText("12abc");
  EXPECT_EQ(record.requestPAL.xOffset, 0);
  dialog->EditLeft();
  EXPECT_EQ(Get<QLineEdit>(*dialog, D::kXPixels)->text(), "3200");
}

TEST_F(FormatDialogTest, TriggerAndFlashExcludeEachOther) {
  record.extTrigEnable = record.flashEnable = 1;
  auto dialog = Open();
  QCheckBox* trigger = Get<QCheckBox>(*dialog, D::kTrigger);
  QCheckBox* flash = Get<QCheckBox>(*dialog, D::kFlash);
  EXPECT_FALSE(trigger->isHidden());
  trigger->setChecked(true);
  flash->setChecked(true);
  EXPECT_EQ(record.flash, 1);
  EXPECT_EQ(record.extTrig, 0);
  EXPECT_FALSE(trigger->isChecked());
  dialog->Cancel();
  record.extTrigEnable = 0;
  auto hidden = Open();
  EXPECT_TRUE(hidden->Control(D::kTrigger)->isHidden());
}

TEST_F(FormatDialogTest, ThePaletteOfAnEightBitDisplay) {
  // Without a library palette the dialog makes one and takes it away at the end.
  auto dialog = Open(8);
  EXPECT_NE(Lib().Palette(), gdi::PaletteHandle::None);
  dialog->Ok();
  EXPECT_EQ(Lib().Palette(), gdi::PaletteHandle::None);
  // With one, the dialog's replaces it and stays.
  gdi::RecordingDeviceContext display(Display(8));
  ASSERT_EQ(Lib().ZLV_defaultPalette(&display, 1), code::kOk);
  const gdi::PaletteHandle before = Lib().Palette();
  auto second = Open(8);
  second->Cancel();
  EXPECT_NE(Lib().Palette(), gdi::PaletteHandle::None);
  EXPECT_NE(Lib().Palette(), before);
  Lib().ZLV_releasePalette();
}

}  // namespace
}  // namespace orvale::melvex
