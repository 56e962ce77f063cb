#include "platform/ui/FontChooser.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

constexpr int kMinimumSize = 1;
constexpr int kMaximumSize = 72;

// 0x00BBGGRR <-> QColor.
QColor QColorOf(std::int32_t color) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

std::int32_t ColorOf(const QColor& color) {
  return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QIcon Swatch(std::int32_t color) {
  QPixmap picture(24, 12);
  picture.fill(QColorOf(color));
  return QIcon(picture);
}

}  // namespace

FontChooser::FontChooser(const FontDialogRequest& request, QWidget* owner) : QDialog(owner) {
  setWindowTitle(QString::fromStdString(request.Title));
  setModal(true);

  cboFace_ = new QComboBox(this);
  cboFace_->setObjectName("cboFace");
  cboFace_->addItems(QFontDatabase::families());
  cboFace_->setMaxVisibleItems(16);
  spnSize_ = new QSpinBox(this);
  spnSize_->setObjectName("spnSize");
  spnSize_->setRange(kMinimumSize, kMaximumSize);
  chkBold_ = new QCheckBox("Bold", this);
  chkBold_->setObjectName("chkBold");
  chkItalic_ = new QCheckBox("Italic", this);
  chkItalic_->setObjectName("chkItalic");
  chkUnderline_ = new QCheckBox("Underline", this);
  chkUnderline_->setObjectName("chkUnderline");
  cmdColor_ = new QPushButton("Color...", this);
  cmdColor_->setObjectName("cmdColor");
  lblSample_ = new QLabel("AaBbYyZz", this);
  lblSample_->setObjectName("lblSample");
  lblSample_->setAlignment(Qt::AlignCenter);
  lblSample_->setMinimumSize(220, 60);

  auto* fields = new QFormLayout;
  fields->addRow("Font:", cboFace_);
  fields->addRow("Size:", spnSize_);
  auto* styles = new QHBoxLayout;
  styles->addWidget(chkBold_);
  styles->addWidget(chkItalic_);
  styles->addWidget(chkUnderline_);
  styles->addStretch();
  fields->addRow("Style:", styles);
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(cmdColor_);
  colorRow->addStretch();
  fields->addRow("Color:", colorRow);
  auto* sampleBox = new QGroupBox("Sample", this);
  auto* sampleLayout = new QVBoxLayout(sampleBox);
  sampleLayout->addWidget(lblSample_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(sampleBox);
  layout->addWidget(buttons);

  const FontChoice& initial = request.Initial;
  int face = cboFace_->findText(QString::fromStdString(initial.FaceName), Qt::MatchFixedString);
  if (face < 0) {
    // "Courier New" is served by a metric-compatible family; show that one.
    face = cboFace_->findText(QFontInfo(QFont(QString::fromStdString(initial.FaceName))).family(),
                              Qt::MatchFixedString);
  }
  cboFace_->setCurrentIndex(face);
  spnSize_->setValue(initial.Size);
  chkBold_->setChecked(initial.Bold);
  chkItalic_->setChecked(initial.Italic);
  chkUnderline_->setChecked(initial.Underline);
  SetColor(initial.Color);

  connect(cboFace_, &QComboBox::currentIndexChanged, this, [this] { ShowSample(); });
  connect(spnSize_, &QSpinBox::valueChanged, this, [this] { ShowSample(); });
  for (QCheckBox* box : {chkBold_, chkItalic_, chkUnderline_})
    connect(box, &QCheckBox::toggled, this, [this] { ShowSample(); });
  connect(cmdColor_, &QPushButton::clicked, this, [this] {
    GuardHandler([this] {
      const QColor chosen = QColorDialog::getColor(QColorOf(color_), this, "Color");
      if (chosen.isValid()) SetColor(ColorOf(chosen));
    });
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

FontChoice FontChooser::Choice() const {
  FontChoice choice;
  choice.FaceName = cboFace_->currentText().toStdString();
  choice.Size = spnSize_->value();
  choice.Bold = chkBold_->isChecked();
  choice.Italic = chkItalic_->isChecked();
  choice.Underline = chkUnderline_->isChecked();
  choice.Color = color_;
  return choice;
}

void FontChooser::SetColor(std::int32_t color) {
  color_ = color & 0xFFFFFF;
  cmdColor_->setIcon(Swatch(color_));
  ShowSample();
}

void FontChooser::ShowSample() {
  QFont font(cboFace_->currentText());
  font.setPointSize(spnSize_->value());
  font.setBold(chkBold_->isChecked());
  font.setItalic(chkItalic_->isChecked());
  font.setUnderline(chkUnderline_->isChecked());
  lblSample_->setFont(font);
  QPalette palette = lblSample_->palette();
  palette.setColor(QPalette::WindowText, QColorOf(color_));
  lblSample_->setPalette(palette);
}

FontDialogAnswer QtFontDialogService::ChooseFont(const FontDialogRequest& request) {
  QWidget* owner = QApplication::activeModalWidget();
  if (owner == nullptr) owner = QApplication::activeWindow();
  FontChooser chooser(request, owner);
  FontDialogAnswer answer;
  if (chooser.exec() != QDialog::Accepted) return answer;
  answer.Cancelled = false;
  answer.Choice = chooser.Choice();
  return answer;
}

}  // namespace orvale
