#include "app/dialogs/frmAnalyze.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <vector>

#include "app/dialogs/AnalyzeSettings.h"
#include "app/dialogs/ReferenceBrowse.h"
#include "app/document/DocumentTable.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Std(const QString& text) { return text.toStdString(); }

template <std::size_t N>
QGroupBox* OptionGroup(const QString& title, const std::array<const char*, N>& captions,
                       std::array<QRadioButton*, N>& buttons, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(box);
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i] = new QRadioButton(captions[i], box);
    layout->addWidget(buttons[i]);
  }
  return box;
}

}  // namespace

frmAnalyze::frmAnalyze(MainFrame& frame, DocumentTable& table, QWidget* owner)
    : ToolWindow(frame, ViewMenuItem::AnalyzeBox, "Analyze", owner), table_(&table) {
  BuildControls();
  ConnectControls();
  ShowControls();
}

void frmAnalyze::BuildControls() {
  auto* removeBox = new QGroupBox("Remove", this);
  auto* removeLayout = new QVBoxLayout(removeBox);
  for (std::size_t i = 0; i < kRemoveCount; ++i) {
    chkRemove[i] = new QCheckBox(Text(kRemoveCaptions[i]), removeBox);
    chkRemove[i]->setObjectName(QString("chkRemove%1").arg(i));
    removeLayout->addWidget(chkRemove[i]);
  }
  removeLayout->addStretch();

  auto* referenceBox = new QGroupBox("Subtract Reference", this);
  auto* referenceLayout = new QVBoxLayout(referenceBox);
  cboReference = new QComboBox(referenceBox);
  cboReference->setObjectName("cboReference");
  cboReference->setMinimumContentsLength(14);
  cboReference->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cboReference->installEventFilter(this);
  cmdBrowse = new QPushButton("Browse Files...", referenceBox);
  cmdBrowse->setObjectName("cmdBrowse");
  referenceLayout->addWidget(cboReference);
  referenceLayout->addWidget(cmdBrowse);
  referenceLayout->addStretch();

  auto* scaleBox = new QGroupBox("Scale Factor", this);
  auto* scaleLayout = new QGridLayout(scaleBox);
  static constexpr std::array<const char*, 3> kScaleCaptions = {"0.5", "1.0", "Custom"};
  for (std::size_t i = 0; i < kScaleCaptions.size(); ++i) {
    optScaleFactor[i] = new QRadioButton(kScaleCaptions[i], scaleBox);
    optScaleFactor[i]->setObjectName(QString("optScaleFactor%1").arg(i));
    scaleLayout->addWidget(optScaleFactor[i], static_cast<int>(i), 0);
  }
  txtScaleFactor = new QLineEdit(scaleBox);
  txtScaleFactor->setObjectName("txtScaleFactor");
  // Digits and the point only: no sign, no exponent.
  txtScaleFactor->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), txtScaleFactor));
  txtScaleFactor->setMaximumWidth(70);
  scaleLayout->addWidget(txtScaleFactor, 2, 1);
  scaleLayout->setColumnStretch(2, 1);

  auto* wavelengthBox = new QGroupBox("Wavelength", this);
  auto* wavelengthLayout = new QFormLayout(wavelengthBox);
  txtInputWL = new QLineEdit(wavelengthBox);
  txtInputWL->setObjectName("txtInputWL");
  txtOutputWL = new QLineEdit(wavelengthBox);
  txtOutputWL->setObjectName("txtOutputWL");
  for (QLineEdit* edit : {txtInputWL, txtOutputWL}) edit->setMaximumWidth(80);
  wavelengthLayout->addRow("Input", txtInputWL);
  wavelengthLayout->addRow("Output", txtOutputWL);

  static constexpr std::array<const char*, 3> kUnitCaptions = {"Waves", "Micrometers",
                                                               "Microinches"};
  QGroupBox* unitsBox = OptionGroup("Display Units", kUnitCaptions, optDisplay, this);
  for (std::size_t i = 0; i < optDisplay.size(); ++i)
    optDisplay[i]->setObjectName(QString("optDisplay%1").arg(i));

  chkInvertWavefront = new QCheckBox("Invert Wavefront", this);
  chkInvertWavefront->setObjectName("chkInvertWavefront");
  chkTrim = new QCheckBox("Trim Edges", this);
  chkTrim->setObjectName("chkTrim");

  cboLimitOrder = new QComboBox(this);
  cboLimitOrder->setObjectName("cboLimitOrder");
  for (std::string_view item : kLimitOrderItems) cboLimitOrder->addItem(Text(item));
  auto* orderRow = new QHBoxLayout;
  orderRow->addWidget(new QLabel("Limit Order", this));
  orderRow->addWidget(cboLimitOrder);
  orderRow->addStretch();

  cmdApply = new QPushButton("Apply", this);
  cmdApply->setObjectName("cmdApply");
  cmdClose = new QPushButton("Close", this);
  cmdClose->setObjectName("cmdClose");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdApply);
  buttons->addWidget(cmdClose);

  auto* grid = new QGridLayout;
  grid->addWidget(removeBox, 0, 0);
  grid->addWidget(referenceBox, 0, 1);
  grid->addWidget(wavelengthBox, 1, 0);
  grid->addWidget(scaleBox, 1, 1);
  grid->addWidget(unitsBox, 2, 0);
  auto* flags = new QVBoxLayout;
  flags->addWidget(chkInvertWavefront);
  flags->addWidget(chkTrim);
  flags->addLayout(orderRow);
  flags->addStretch();
  grid->addLayout(flags, 2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAnalyze::ConnectControls() {
  for (std::size_t i = 0; i < kRemoveCount; ++i) {
    connect(chkRemove[i], &QCheckBox::toggled, this, [this, i](bool on) { model_.Remove[i] = on; });
  }
  connect(cboReference, &QComboBox::currentIndexChanged, this,
          [this](int index) { model_.SelectReference(index); });
  for (std::size_t i = 0; i < optScaleFactor.size(); ++i) {
    connect(optScaleFactor[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (!on) return;
      model_.ScaleFactorOption = static_cast<std::int32_t>(i);
      txtScaleFactor->setEnabled(model_.ScaleFactorTextEnabled());
    });
  }
  for (std::size_t i = 0; i < optDisplay.size(); ++i) {
    connect(optDisplay[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) model_.DisplayUnits = static_cast<std::int32_t>(i);
    });
  }
  connect(txtScaleFactor, &QLineEdit::textChanged, this,
          [this](const QString& text) { model_.ScaleFactorText = Std(text); });
  connect(txtInputWL, &QLineEdit::textChanged, this,
          [this](const QString& text) { model_.InputWL = Std(text); });
  connect(txtOutputWL, &QLineEdit::textChanged, this,
          [this](const QString& text) { model_.OutputWL = Std(text); });
  connect(chkInvertWavefront, &QCheckBox::toggled, this,
          [this](bool on) { model_.InvertWavefront = on; });
  connect(chkTrim, &QCheckBox::toggled, this, [this](bool on) { model_.TrimEdges = on; });
  connect(cboLimitOrder, &QComboBox::currentIndexChanged, this,
          [this](int index) { model_.LimitOrderIndex = index; });

  connect(cmdApply, &QPushButton::clicked, this, [this] { GuardHandler([this] { ApplyAnalysis(); }); });
  connect(cmdClose, &QPushButton::clicked, this, [this] { GuardHandler([this] { HideFromView(); }); });
  connect(cmdBrowse, &QPushButton::clicked, this, [this] {
    GuardHandler([this] {
      if (BrowseReferenceFile(model_)) ShowControls();
    });
  });
}

void frmAnalyze::ShowControls() {
  const QList<QWidget*> children = findChildren<QWidget*>();
  std::vector<QSignalBlocker> blockers;
  blockers.reserve(static_cast<std::size_t>(children.size()));
  for (QWidget* child : children) blockers.emplace_back(child);

  for (std::size_t i = 0; i < kRemoveCount; ++i) chkRemove[i]->setChecked(model_.Remove[i]);
  cboReference->clear();
  for (const std::string& item : model_.ReferenceItems()) cboReference->addItem(Text(item));
  cboReference->setCurrentIndex(model_.ReferenceIndex());
  for (std::size_t i = 0; i < optScaleFactor.size(); ++i)
    optScaleFactor[i]->setChecked(model_.ScaleFactorOption == static_cast<std::int32_t>(i));
  txtScaleFactor->setText(Text(model_.ScaleFactorText));
  chkInvertWavefront->setChecked(model_.InvertWavefront);
  txtInputWL->setText(Text(model_.InputWL));
  txtOutputWL->setText(Text(model_.OutputWL));
  for (std::size_t i = 0; i < optDisplay.size(); ++i)
    optDisplay[i]->setChecked(model_.DisplayUnits == static_cast<std::int32_t>(i));
  chkTrim->setChecked(model_.TrimEdges);
  cboLimitOrder->setCurrentIndex(model_.LimitOrderIndex);

  const bool on = model_.OptionsEnabled;
  for (QCheckBox* box : chkRemove) box->setEnabled(on);
  for (QRadioButton* option : optScaleFactor) option->setEnabled(on);
  for (QWidget* control : {static_cast<QWidget*>(cboReference), static_cast<QWidget*>(cboLimitOrder),
                           static_cast<QWidget*>(chkInvertWavefront),
                           static_cast<QWidget*>(cmdBrowse), static_cast<QWidget*>(cmdApply)}) {
    control->setEnabled(on);
  }
  txtScaleFactor->setEnabled(model_.ScaleFactorTextEnabled());
}

void frmAnalyze::EditControls(const std::function<void(AnalyzeControls&)>& edit) {
  edit(model_);
  ShowControls();
}

void frmAnalyze::Load(std::int32_t belowTwips) {
  model_ = ReadAnalyzeSettings();
  SetControls(false);  // also shows the options
  adjustSize();
  const QPoint beside = DefaultPlaceBesideOwner(belowTwips);
  RestorePositionOnScreen(kAnalyzeSection, "Left", "Top", beside.x(), beside.y());
}

void frmAnalyze::Unload() {
  SavePosition(kAnalyzeSection, "Left", "Top");
  SaveAnalyzeSettings(model_);
}

ApplyOutcome frmAnalyze::ApplyAnalysis() {
  const std::function<void(bool)> busy = [this](bool on) {
    if (on) {
      setCursor(Qt::WaitCursor);
    } else {
      unsetCursor();
    }
  };
  return orvale::ApplyAnalysis(*table_, model_, Frame(), busy);
}

void frmAnalyze::SetControls(bool ForceOff) {
  model_.OptionsEnabled = table_->NumDocuments > 0 && !ForceOff;
  ShowControls();
}

bool frmAnalyze::eventFilter(QObject* watched, QEvent* event) {
  if (watched == cboReference && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
      !cboReference->view()->isVisible()) {
    bool removed = false;
    GuardHandler([this, &removed] { removed = model_.RemoveSelectedReference(); });
    if (removed) ShowControls();
    return removed;
  }
  return ToolWindow::eventFilter(watched, event);
}

}  // namespace orvale
