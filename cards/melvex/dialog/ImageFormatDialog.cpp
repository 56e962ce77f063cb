#include "cards/melvex/dialog/ImageFormatDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "cards/melvex/ConfigRules.h"
#include "cards/melvex/DigitizerLimits.h"
#include "cards/melvex/ErrorCodes.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/ui/LiveWidget.h"
#include "platform/ui/QtTimerService.h"

namespace orvale::melvex {

namespace {

constexpr int kAdjustmentRange = 127;
constexpr std::uint16_t kLargestField = 65535;

bool IsGrey(int format) { return format == 1 || format == 2; }

const char* FormatLabel(int format) {
  switch (format) {
    case 2: return "16 gray levels";
    case 1: return "256 gray levels";
    case 3: return "256 colors";
    case 4: return "32k colors";
    case 5: return "64k colors";
    case 8: return "32bit colors";
    default: return "16M colors";
  }
}

// A field's text as an unsigned whole number; past 65535 it stays at 65535 rather than
// wrapping into the 16-bit request field. Anything but digits reads as 0.
std::uint16_t FieldValue(const QLineEdit* edit) {
  const QString text = edit->text().trimmed();
  std::uint32_t value = 0;
  for (const QChar c : text) {
    if (!c.isDigit()) return 0;
    value = std::min<std::uint32_t>(value * 10 + static_cast<std::uint32_t>(c.digitValue()), kLargestField);
  }
  return static_cast<std::uint16_t>(value);
}

std::uint16_t Doubled(std::uint16_t value) { return static_cast<std::uint16_t>(std::min(2 * value, 65535)); }

template <class W>
W* Named(W* widget, int id) {
  widget->setObjectName(QString::number(id));
  return widget;
}

}  // namespace

// The preview picture; mouse presses and drags inside it set the crop.
class PreviewFrame final : public QWidget {
 public:
  PreviewFrame(ImageFormatDialog& dialog, const gdi::ImageDeviceContext& picture, QWidget* parent)
      : QWidget(parent), dialog_(dialog), picture_(picture) {
    setFixedSize(ImageFormatDialog::kPreviewWidth, ImageFormatDialog::kPreviewHeight);
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_.Image()); }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) dialog_.MouseDown(event->pos().x(), event->pos().y());
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    dialog_.MouseMove(event->pos().x(), event->pos().y(), (event->buttons() & Qt::LeftButton) != 0);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    dialog_.MouseMove(event->pos().x(), event->pos().y(), false);
  }

 private:
  ImageFormatDialog& dialog_;
  const gdi::ImageDeviceContext& picture_;
};

ImageFormatDialog::ImageFormatDialog(ZelvoLibrary& library, ZlvConfig& record, TimerService& timers,
                                     QWidget* parent, gdi::DeviceContext* previewSurface)
    : QDialog(parent), library_(library), record_(record), saved_(record), timers_(timers) {
  setWindowTitle("Image Format");
  auto picture = std::make_unique<gdi::ImageDeviceContext>(kPreviewWidth, kPreviewHeight, 0x000000);
  const gdi::ImageDeviceContext& image = *picture;
  picture_ = std::move(picture);
  preview_ = previewSurface != nullptr ? previewSurface : picture_.get();
  frame_ = new PreviewFrame(*this, image, this);
  Prepare();
  BuildControls();
  Fill();
  LoadLimits();
  lastStandard_ = record_.standard;
  timer_ = timers_.Start(1, [this](TimerId) { Tick(); });
  // A palette the library already has gives way to the dialog's, which then stays.
  ownsPalette_ = library_.Palette() == gdi::PaletteHandle::None;
  if (!ownsPalette_) library_.ZLV_releasePalette();
  MakePalette();
}

ImageFormatDialog::~ImageFormatDialog() { EndSteps(); }

void ImageFormatDialog::BuildControls() {
  const auto edit = [this](int id) {
    auto* field = Named(new QLineEdit(this), id);
    connect(field, &QLineEdit::textChanged, this, [this] { EditChanged(); });
    connect(field, &QLineEdit::editingFinished, this, [this] { EditLeft(); });
    return field;
  };
  xOffset_ = edit(kXOffset);
  yOffset_ = edit(kYOffset);
  xActive_ = edit(kXActive);
  yActive_ = edit(kYActive);
  xPixels_ = edit(kXPixels);
  yPixels_ = edit(kYPixels);
  auto* crop = new QGroupBox("Crop limits :", this);
  auto* cropLayout = new QGridLayout(crop);
  cropLayout->addWidget(new QLabel("X offset", crop), 0, 0);
  cropLayout->addWidget(xOffset_, 0, 1);
  cropLayout->addWidget(new QLabel("Y offset", crop), 1, 0);
  cropLayout->addWidget(yOffset_, 1, 1);
  cropLayout->addWidget(new QLabel("X active", crop), 2, 0);
  cropLayout->addWidget(xActive_, 2, 1);
  cropLayout->addWidget(new QLabel("Y active", crop), 3, 0);
  cropLayout->addWidget(yActive_, 3, 1);
  auto* output = new QGroupBox("Output size :", this);
  auto* outputLayout = new QGridLayout(output);
  outputLayout->addWidget(new QLabel("X pixels", output), 0, 0);
  outputLayout->addWidget(xPixels_, 0, 1);
  outputLayout->addWidget(new QLabel("Y pixels", output), 1, 0);
  outputLayout->addWidget(yPixels_, 1, 1);

  interlaced_ = Named(new QCheckBox("Interlaced", this), kInterlaced);
  flash_ = Named(new QCheckBox("Flash", this), kFlash);
  trigger_ = Named(new QCheckBox("External Trigger", this), kTrigger);
  connect(interlaced_, &QCheckBox::toggled, this, [this](bool on) { InterlacedToggled(on); });
  connect(flash_, &QCheckBox::toggled, this, [this](bool on) { FlashToggled(on); });
  connect(trigger_, &QCheckBox::toggled, this, [this](bool on) { TriggerToggled(on); });

  auto* standardBox = new QGroupBox("Video Standard", this);
  standard_ = Named(new QLineEdit(standardBox), kStandard);
  standard_->setReadOnly(true);
  (new QVBoxLayout(standardBox))->addWidget(standard_);
  auto* signalBox = new QGroupBox("Signal Type", this);
  signalType_ = Named(new QComboBox(signalBox), kSignalType);
  (new QVBoxLayout(signalBox))->addWidget(signalType_);
  connect(signalType_, &QComboBox::currentIndexChanged, this, [this](int index) { SignalTypeSelected(index); });
  auto* colourBox = new QGroupBox("Color Setting", this);
  colour_ = Named(new QComboBox(colourBox), kColour);
  (new QVBoxLayout(colourBox))->addWidget(colour_);
  connect(colour_, &QComboBox::currentIndexChanged, this, [this](int index) { ColourSelected(index); });

  auto* adjustments = new QHBoxLayout;
  const int barIds[] = {kBrightness, kContrast, kSaturation, kHue};
  const int valueIds[] = {kBrightnessValue, kContrastValue, kSaturationValue, kHueValue};
  for (int i = 0; i < 4; ++i) {
    auto* column = new QVBoxLayout;
    QLabel* letter = nullptr;
    if (i == 0) letter = new QLabel("B", this);
    if (i == 1) letter = new QLabel("C", this);
    if (i == 2) letter = saturationLetter_ = Named(new QLabel("S", this), kSaturationLetter);
    if (i == 3) letter = hueLetter_ = Named(new QLabel("H", this), kHueLetter);
    bars_[i] = Named(new QScrollBar(Qt::Vertical, this), barIds[i]);
    bars_[i]->setRange(-kAdjustmentRange, kAdjustmentRange);
    bars_[i]->setSingleStep(1);
    bars_[i]->setPageStep(10);
    values_[i] = Named(new QLabel(this), valueIds[i]);
    const int id = barIds[i];
    connect(bars_[i], &QScrollBar::valueChanged, this, [this, id](int position) { ScrollMoved(id, position); });
    column->addWidget(letter);
    column->addWidget(bars_[i]);
    column->addWidget(values_[i]);
    adjustments->addLayout(column);
  }

  frame_->setObjectName(QString::number(kPreview));
  auto* previewColumn = new QVBoxLayout;
  previewColumn->addWidget(frame_);
  previewColumn->addWidget(new QLabel("Drag frame to crop image", this));

  auto* ok = Named(new QPushButton("OK", this), kOk);
  auto* cancel = Named(new QPushButton("Cancel", this), kCancel);
  auto* defaults = Named(new QPushButton("Default", this), kDefault);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
  connect(cancel, &QPushButton::clicked, this, [this] { Cancel(); });
  connect(defaults, &QPushButton::clicked, this, [this] { Default(); });

  auto* left = new QVBoxLayout;
  left->addWidget(crop);
  left->addWidget(output);
  left->addWidget(interlaced_);
  left->addWidget(trigger_);
  left->addWidget(flash_);
  auto* middle = new QVBoxLayout;
  middle->addWidget(standardBox);
  middle->addWidget(signalBox);
  middle->addWidget(colourBox);
  middle->addLayout(adjustments);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(defaults);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(middle);
  layout->addLayout(previewColumn);
  layout->addLayout(buttons);
}

QWidget* ImageFormatDialog::Control(int id) const { return findChild<QWidget*>(QString::number(id)); }

ZlpSnapRequest& ImageFormatDialog::Request() { return RequestOf(record_); }

std::vector<int> ImageFormatDialog::OfferedFormats() const {
  const std::pair<int, std::int32_t> flags[] = {
      {2, record_.gray16Enable},   {1, record_.gray256Enable}, {3, record_.color256Enable},
      {4, record_.color32kEnable}, {5, record_.color64kEnable}, {7, record_.color16MEnable},
      {8, record_.color32bitEnable}};
  std::vector<int> offered;
  for (const auto& [format, enabled] : flags) {
    if (enabled != 0) offered.push_back(format);
  }
  return offered;
}

void ImageFormatDialog::Prepare() { library_.ZLV_prepare(&record_, 0); }

void ImageFormatDialog::LoadLimits() { library_.ZLP_getLimits(record_.standard == 1 ? 1 : 0, &limits_); }

void ImageFormatDialog::MakePalette() { library_.ZLV_defaultPalette(preview_, IsGrey(record_.outputFormat) ? 1 : 0); }

void ImageFormatDialog::ShowAdjustments() {
  const bool colour = !IsGrey(record_.outputFormat);
  const bool hue = colour && record_.standard == k525Line;
  bars_[2]->setVisible(colour);
  values_[2]->setVisible(colour);
  saturationLetter_->setVisible(colour);
  bars_[3]->setVisible(hue);
  values_[3]->setVisible(hue);
  hueLetter_->setVisible(hue);
}

void ImageFormatDialog::Fill() {
  filling_ = true;
  signalType_->clear();
  signalType_->addItems({"Composite", "S-Video"});
  signalType_->setCurrentIndex(record_.signalType != 0 ? 1 : 0);

  colour_->clear();
  const std::vector<int> offered = OfferedFormats();
  if (offered.empty()) {
    colour_->addItem(FormatLabel(7));
    colour_->setCurrentIndex(0);
  } else {
    for (int format : offered) colour_->addItem(FormatLabel(format));
    const auto it = std::find(offered.begin(), offered.end(), record_.outputFormat);
    colour_->setCurrentIndex(it != offered.end() ? static_cast<int>(it - offered.begin()) : 0);
  }
  colour_->setEnabled(colour_->count() >= 2);

  trigger_->setVisible(record_.extTrigEnable != 0);
  trigger_->setChecked(record_.extTrig != 0);
  flash_->setVisible(record_.flashEnable != 0);
  flash_->setChecked(record_.flash != 0);

  if (record_.standard == k625Line) record_.hue = 0;
  const std::int32_t values[] = {record_.brightness, record_.contrast, record_.saturation, record_.hue};
  for (int i = 0; i < 4; ++i) {
    bars_[i]->setValue(-values[i]);
    values_[i]->setText(QString::number(values[i] * 100 / kAdjustmentRange));
  }
  ShowAdjustments();

  interlaced_->setChecked(Request().interlaced != 0);
  standard_->setText(record_.standard == k625Line ? " PAL" : record_.standard == k525Line ? " NTSC" : " No signal");
  filling_ = false;
  EditLeft();
}

void ImageFormatDialog::EditLeft() {
  const bool wasFilling = std::exchange(filling_, true);
  const ZlpSnapRequest& r = Request();
  xOffset_->setText(QString::number(r.xOffset));
  yOffset_->setText(QString::number(r.yOffset));
  xActive_->setText(QString::number(r.xActive));
  yActive_->setText(QString::number(r.yActive));
  xPixels_->setText(QString::number(r.xPixels));
  yPixels_->setText(QString::number(r.yPixels));
  filling_ = wasFilling;
}

void ImageFormatDialog::EditChanged() {
  if (filling_) return;
  ZlpSnapRequest& r = Request();
  r.xOffset = FieldValue(xOffset_);
  r.yOffset = FieldValue(yOffset_);
  r.xActive = FieldValue(xActive_);
  r.yActive = FieldValue(yActive_);
  r.xPixels = FieldValue(xPixels_);
  r.yPixels = FieldValue(yPixels_);
  Prepare();
}

void ImageFormatDialog::ColourSelected(int index) {
  if (filling_) return;
  const std::vector<int> offered = OfferedFormats();
  const bool wasGrey = IsGrey(record_.outputFormat);
  record_.outputFormat = index >= 0 && index < static_cast<int>(offered.size()) ? offered[index] : 7;
  if (IsGrey(record_.outputFormat) != wasGrey) {
    ShowAdjustments();
    MakePalette();
  }
}

void ImageFormatDialog::TriggerToggled(bool checked) {
  if (filling_) return;
  record_.extTrig = checked ? 1 : 0;
  if (checked && record_.flash != 0) {
    record_.flash = 0;
    const bool wasFilling = std::exchange(filling_, true);
    flash_->setChecked(false);
    filling_ = wasFilling;
  }
}

void ImageFormatDialog::FlashToggled(bool checked) {
  if (filling_) return;
  record_.flash = checked ? 1 : 0;
  if (checked && record_.extTrig != 0) {
    record_.extTrig = 0;
    const bool wasFilling = std::exchange(filling_, true);
    trigger_->setChecked(false);
    filling_ = wasFilling;
  }
}

void ImageFormatDialog::SignalTypeSelected(int index) {
  if (filling_ || index < 0) return;
  record_.signalType = index;
}

void ImageFormatDialog::InterlacedToggled(bool checked) {
  if (filling_) return;
  ZlpSnapRequest& r = Request();
  r.interlaced = checked ? 1 : 0;
  for (std::uint16_t* field : {&r.xPixels, &r.yOffset, &r.yActive, &r.yPixels}) {
    *field = checked ? Doubled(*field) : static_cast<std::uint16_t>(*field / 2);
  }
  Prepare();
  EditLeft();
}

void ImageFormatDialog::Default() {
  library_.ZLP_testSignal(&record_.standard);
  record_.brightness = record_.contrast = record_.saturation = record_.hue = 0;
  library_.ZLP_setBrightness(0);
  library_.ZLP_setContrast(0);
  library_.ZLP_setSaturation(0);
  library_.ZLP_setHue(0);
  ZlpSnapRequest& r = Request();
  r.xPixels = r.yPixels = 0;
  library_.ZLP_autoCrop(&r);
  r.xPixels = static_cast<std::uint16_t>(SquarePixelWidth(r, record_.standard));
  r.yPixels = r.yActive;
  Fill();
}

void ImageFormatDialog::ScrollMoved(int id, int position) {
  if (filling_) return;
  const int index = id - kBrightness;
  if (index < 0 || index > 3) return;
  const int value = -position;
  std::int32_t* fields[] = {&record_.brightness, &record_.contrast, &record_.saturation, &record_.hue};
  *fields[index] = value;  // the next tick writes it to the card
  values_[index]->setText(QString::number(value * 100 / kAdjustmentRange));
}

int ImageFormatDialog::ToX(int x) const { return x * limits_.xMax / kPreviewWidth; }

int ImageFormatDialog::ToY(int y) const {
  const int line = y * limits_.yMax / kPreviewHeight;
  return RequestOf(record_).interlaced != 0 ? line : line / 2;
}

void ImageFormatDialog::MouseDown(int x, int y) {
  if (x < 0 || y < 0 || x >= kPreviewWidth || y >= kPreviewHeight) return;
  dragging_ = true;
  dragX_ = x;
  dragY_ = y;
  ZlpSnapRequest& r = Request();
  r.xOffset = static_cast<std::uint16_t>(ToX(x));
  r.yOffset = static_cast<std::uint16_t>(ToY(y));
  r.xActive = r.xPixels = r.yActive = r.yPixels = 10;
  Prepare();
  EditLeft();
}

void ImageFormatDialog::MouseMove(int x, int y, bool leftButton) {
  if (!leftButton) dragging_ = false;
  if (!dragging_) return;
  x = std::clamp(x, 0, kPreviewWidth - 1);
  y = std::clamp(y, 0, kPreviewHeight - 1);
  ZlpSnapRequest& r = Request();
  r.xOffset = static_cast<std::uint16_t>(ToX(std::min(x, dragX_)));
  r.yOffset = static_cast<std::uint16_t>(ToY(std::min(y, dragY_)));
  r.xActive = static_cast<std::uint16_t>(std::max(ToX(std::abs(x - dragX_)), 10));
  r.yActive = static_cast<std::uint16_t>(std::max(ToY(std::abs(y - dragY_)), 10));
  r.xPixels = static_cast<std::uint16_t>(SquarePixelWidth(r, record_.standard));
  r.yPixels = r.yActive;
  Prepare();
  EditLeft();
}

void ImageFormatDialog::Tick() {
  Prepare();
  if (record_.standard != lastStandard_) {
    lastStandard_ = record_.standard;
    Fill();
    LoadLimits();
  }
  // A small picture of the whole area, one field, without trigger or flash.
  ZlvConfig picture = record_;
  ZlpSnapRequest& whole = RequestOf(picture);
  whole = ZlpSnapRequest{0, limits_.xMax, kPreviewWidth + 1, 0, static_cast<std::uint16_t>(limits_.yMax / 2),
                         kPreviewHeight + 1, 0, IsGrey(picture.outputFormat) ? 1 : 0};
  picture.extTrig = picture.flash = 0;
  if (library_.ZLV_snap(&picture) == code::kOk) library_.ZLV_draw(preview_, &picture, 0, 0, 0, 0);

  // The crop, scaled by multiplying first so that it meets the drag's mapping.
  const ZlpSnapRequest& r = Request();
  const int fields = r.interlaced != 0 ? 1 : 2;
  const int xMax = std::max<int>(limits_.xMax, 1);
  const int yMax = std::max<int>(limits_.yMax, 1);
  const int left = r.xOffset * kPreviewWidth / xMax;
  const int right = std::min((r.xOffset + r.xActive) * kPreviewWidth / xMax, kPreviewWidth);
  const int top = fields * r.yOffset * kPreviewHeight / yMax;
  const int bottom = std::min(fields * (r.yOffset + r.yActive) * kPreviewHeight / yMax, kPreviewHeight);
  const gdi::Pen pen = preview_->SelectPen(gdi::Pen{gdi::PS_SOLID, 1, 0xFFFFFF});
  const gdi::Brush brush = preview_->SelectBrush(gdi::Brush{gdi::BS_NULL});
  preview_->Rectangle(left, top, right, bottom);
  preview_->SelectPen(pen);
  preview_->SelectBrush(brush);
  frame_->update();
}

void ImageFormatDialog::EndSteps() {
  if (std::exchange(ended_, true)) return;
  timers_.Kill(timer_);
  if (ownsPalette_) library_.ZLV_releasePalette();
}

int ImageFormatDialog::Ok() {
  EditLeft();
  Prepare();
  EndSteps();
  done(1);
  return 1;
}

int ImageFormatDialog::Cancel() {
  record_ = saved_;
  Prepare();
  EndSteps();
  done(2);
  return 2;
}

std::int32_t RunImageFormatDialog(ZelvoLibrary& library, void* parentWindow, ZlvConfig& config) {
  // The parent is only an address from a C caller: use it only when it names one of the
  // application's live widgets, and build widgets only on the application's thread.
  QWidget* parent = parentWindow != nullptr ? LiveWidget(parentWindow) : nullptr;
  if (!OnWidgetThread() || (parentWindow != nullptr && parent == nullptr)) return ZelvoLibrary::kFormatDialogNotShown;
  QtTimerService timers;
  ImageFormatDialog dialog(library, config, timers, parent);
  // Closing the window is a Cancel.
  QObject::connect(&dialog, &QDialog::rejected, &dialog, [&dialog] {
    if (dialog.result() != 2) dialog.Cancel();
  });
  const int result = dialog.exec();
  return result == 1 ? 1 : 2;
}

}  // namespace orvale::melvex
