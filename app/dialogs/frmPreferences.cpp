#include "app/dialogs/frmPreferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/dialogs/DialogControls.h"
#include "app/dialogs/DialogPosition.h"
#include "app/dialogs/TextStyleChoice.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/HelpContents.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "CurrentVersion";
constexpr std::string_view kLeftKey = "PreferencesLeft";
constexpr std::string_view kTopKey = "PreferencesTop";
constexpr std::string_view kTabKey = "PreferencesTab";

constexpr const char* kViewCaptions[kResultWindowCount] = {
    "Surface Plot", "Contour Plot", "Line Profile", "Synthetic Fringes",
    "Aberrations",  "Zernikes",     "Grid Results"};

}  // namespace

frmPreferences::frmPreferences(GeneralSettings& settings, GrabberState& grabber,
                               DocumentTable& table, MainFrame& frame, QWidget* owner)
    : QDialog(owner),
      settings_(&settings),
      grabber_(&grabber),
      table_(&table),
      frame_(&frame),
      model_(ReadPreferences(settings, grabber)) {
  setWindowTitle("Preferences");
  setModal(true);
  tbsPreferences = new QTabWidget(this);
  tbsPreferences->setObjectName("tbsPreferences");
  QWidget* display = BuildDisplayTab();  // makes the text-style buttons of "General"
  tbsPreferences->addTab(BuildGeneralTab(), "General");
  tbsPreferences->addTab(display, "Display");

  const OkCancelButtons buttons(*this);
  QPushButton* cmdHelp = NamedButton("Help", "cmdHelp", this);
  buttons.Row->insertWidget(0, cmdHelp);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tbsPreferences);
  layout->addLayout(buttons.Row);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(plot_->chkFillPolygons, &QCheckBox::toggled, this, [this](bool on) {
    plot_->chkDrawBlackMesh->setEnabled(ComputePlotCheckStates(true, false, on).DrawMeshEnabled);
  });
  connect(plot_->cmdFontScreen, &QPushButton::clicked, this,
          [this] { GuardHandler([this] { model_.Text.Choose(true, kScreenFontFlags); }); });
  connect(plot_->cmdFontPrinter, &QPushButton::clicked, this,
          [this] { GuardHandler([this] { model_.Text.Choose(false, kPrinterFontFlags); }); });
  connect(cmdHelp, &QPushButton::clicked, this,
          [this] { GuardHandler([this] { ShowHelpContents(this); }); });
  connect(buttons.cmdOK, &QPushButton::clicked, this, [this] { GuardHandler([this] { Ok(); }); });

  ShowControls();
  tbsPreferences->setCurrentIndex(GetSettingLong(kSection, kTabKey, 1, 2, 1) - 1);
  adjustSize();
  RestoreDialogPosition(*this, kLeftKey, kTopKey);
}

frmPreferences::~frmPreferences() = default;

QWidget* frmPreferences::BuildGeneralTab() {
  auto* page = new QWidget;
  page->setObjectName("fraContainer1");

  QGroupBox* grab = NamedGroup("Frame Grabber Card", "fraGrab", page);
  cboGrabCard = new QComboBox(grab);
  cboGrabCard->setObjectName("cboGrabCard");
  for (const std::string& item : GrabberListItems(*grabber_)) cboGrabCard->addItem(QtText(item));
  chkGrabNew = NamedCheck("Grab image into new window", "chkGrabNew", grab);
  txtAspectRatio = new QLineEdit(grab);
  txtAspectRatio->setObjectName("txtAspectRatio");
  AllowOnlyDecimalDigits(*txtAspectRatio);
  txtAspectRatio->setMaximumWidth(80);
  auto* grabLayout = new QFormLayout(grab);
  grabLayout->addRow(cboGrabCard);
  grabLayout->addRow(chkGrabNew);
  grabLayout->addRow("Aspect Ratio", txtAspectRatio);

  cboFringeDensity = new QComboBox(page);
  cboFringeDensity->setObjectName("cboFringeDensity");
  for (std::size_t i = 0; i < std::size(kFringeDensityItems); ++i)
    cboFringeDensity->addItem(QtText(kFringeDensityItems[i]), static_cast<int>(i + 1));
  chkAutoLoadAperture = NamedCheck("Load Default Aperture", "chkAutoLoadAperture", page);
  chkAutoLoadObstruction = NamedCheck("Load Default Obstruction", "chkAutoLoadObstruction", page);
  auto* tracing = new QFormLayout;
  tracing->addRow("Fringe Center Spacing", cboFringeDensity);
  tracing->addRow(chkAutoLoadAperture);
  tracing->addRow(chkAutoLoadObstruction);

  QGroupBox* workspace = NamedGroup("Workspace", "fraWorkspace", page);
  optWindowShare[0] = new QRadioButton("Common set of output views for all interferograms", workspace);
  optWindowShare[1] = new QRadioButton("Individual set of output views for each interferogram", workspace);
  auto* workspaceLayout = new QVBoxLayout(workspace);
  for (std::size_t i = 0; i < optWindowShare.size(); ++i) {
    optWindowShare[i]->setObjectName(QString("optWindowShare%1").arg(i));
    workspaceLayout->addWidget(optWindowShare[i]);
  }

  plot_->fraText->setParent(page);
  auto* layout = new QGridLayout(page);
  layout->addWidget(grab, 0, 0);
  layout->addLayout(tracing, 0, 1, Qt::AlignTop);
  layout->addWidget(workspace, 1, 0, 1, 2);
  layout->addWidget(plot_->fraText, 2, 0, 1, 2);
  layout->setRowStretch(3, 1);
  return page;
}

QWidget* frmPreferences::BuildDisplayTab() {
  auto* page = new QWidget;
  page->setObjectName("fraContainer2");

  QGroupBox* views = NamedGroup("Default Output Views", "fraViews", page);
  auto* viewsLayout = new QVBoxLayout(views);
  for (int i = 0; i < kResultWindowCount; ++i) {
    auto& box = chkViews[static_cast<std::size_t>(i)];
    box = NamedCheck(kViewCaptions[i], QString("chkViews%1").arg(i).toUtf8().constData(), views);
    viewsLayout->addWidget(box);
  }
  chkLimitScale = NamedCheck("Limit Scale to 0.5 Wave", "chkLimitScale", page);
  chkRedDisplay = NamedCheck("Red Interferogram Display", "chkRedDisplay", page);
  chkAutoStretch = NamedCheck("Auto Contrast Adjust", "chkAutoStretch", page);

  plot_ = std::make_unique<PlotControls>(page);
  txtSurfaceTheta = SettingNumberBox(kSurfaceThetaKey, "txtSurfaceTheta", plot_->fraSurfacePlot);
  txtSurfacePhi = SettingNumberBox(kSurfacePhiKey, "txtSurfacePhi", plot_->fraSurfacePlot);
  plot_->SurfaceLayout->insertRow(0, "Default Rotation", txtSurfaceTheta);
  plot_->SurfaceLayout->insertRow(1, "Default Elevation", txtSurfacePhi);
  txtLineAngle = SettingNumberBox(kLineAngleKey, "txtLineAngle", plot_->fraLinePlot);
  plot_->LineLayout->addRow("Default Angle", txtLineAngle);

  auto* checks = new QVBoxLayout;
  checks->addWidget(views);
  checks->addWidget(chkLimitScale);
  checks->addWidget(chkRedDisplay);
  checks->addWidget(chkAutoStretch);
  checks->addStretch();
  auto* plots = new QVBoxLayout;
  for (QWidget* group : {plot_->fraContourPlot, plot_->fraSurfacePlot, plot_->fraLinePlot, plot_->fraSFringe})
    plots->addWidget(group);
  plots->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->addLayout(checks);
  layout->addLayout(plots);
  return page;
}

void frmPreferences::ShowControls() {
  const PreferencesControls& c = model_;
  cboGrabCard->setCurrentIndex(c.GrabberIndex);
  chkGrabNew->setChecked(c.GrabIntoNewWindow);
  txtAspectRatio->setText(QtText(c.AspectRatioText));
  cboFringeDensity->setCurrentIndex(cboFringeDensity->findData(c.FringeDensity));
  chkAutoLoadAperture->setChecked(c.AutoLoadAperture);
  chkAutoLoadObstruction->setChecked(c.AutoLoadObstruction);
  optWindowShare[0]->setChecked(c.CommonViews);
  optWindowShare[1]->setChecked(!c.CommonViews);
  for (std::size_t i = 0; i < chkViews.size(); ++i) chkViews[i]->setChecked(c.Views[i]);
  chkLimitScale->setChecked(c.LimitScale);
  chkRedDisplay->setChecked(c.RedDisplay);
  chkAutoStretch->setChecked(c.AutoStretch);
  plot_->txtSurfaceLevels->setValue(c.SurfaceLevels);
  plot_->txtSurfaceSize->setValue(c.SurfaceGridSize);
  txtSurfaceTheta->setValue(c.SurfaceTheta);
  txtSurfacePhi->setValue(c.SurfacePhi);
  plot_->chkFillPolygons->setChecked(c.FillPolygons);
  plot_->chkDrawBlackMesh->setChecked(c.DrawBlackMesh);
  plot_->chkDrawBlackMesh->setEnabled(
      ComputePlotCheckStates(true, false, c.FillPolygons).DrawMeshEnabled);
  plot_->txtLinePoints->setValue(c.LinePoints);
  txtLineAngle->setValue(c.LineAngle);
  plot_->txtImageSize->setValue(c.ImageSize);
}

PreferencesControls frmPreferences::Controls() const {
  PreferencesControls c = model_;  // the two text styles and their flags
  c.GrabberIndex = cboGrabCard->currentIndex();
  c.GrabIntoNewWindow = chkGrabNew->isChecked();
  c.AspectRatioText = txtAspectRatio->text().toStdString();
  c.FringeDensity = cboFringeDensity->currentData().toInt();
  c.AutoLoadAperture = chkAutoLoadAperture->isChecked();
  c.AutoLoadObstruction = chkAutoLoadObstruction->isChecked();
  c.CommonViews = optWindowShare[0]->isChecked();
  for (std::size_t i = 0; i < chkViews.size(); ++i) c.Views[i] = chkViews[i]->isChecked();
  c.LimitScale = chkLimitScale->isChecked();
  c.RedDisplay = chkRedDisplay->isChecked();
  c.AutoStretch = chkAutoStretch->isChecked();
  c.SurfaceLevels = plot_->txtSurfaceLevels->value();
  c.SurfaceGridSize = plot_->txtSurfaceSize->value();
  c.SurfaceTheta = txtSurfaceTheta->value();
  c.SurfacePhi = txtSurfacePhi->value();
  c.FillPolygons = plot_->chkFillPolygons->isChecked();
  c.DrawBlackMesh = plot_->chkDrawBlackMesh->isChecked();
  c.LinePoints = plot_->txtLinePoints->value();
  c.LineAngle = txtLineAngle->value();
  c.ImageSize = plot_->txtImageSize->value();
  return c;
}

void frmPreferences::Ok() {
  const std::optional<PreferencesOutcome> outcome =
      StorePreferences(Controls(), *settings_, *grabber_, reinterpret_cast<WindowHandle>(this));
  if (!outcome) {
    tbsPreferences->setCurrentIndex(0);
    txtAspectRatio->setFocus();
    txtAspectRatio->selectAll();
    return;
  }
  SaveDialogPosition(*this, kLeftKey, kTopKey);
  SaveSettingLong(kSection, kTabKey, tbsPreferences->currentIndex() + 1);
  accept();
  CompletePreferences(*outcome, *grabber_, *table_, *frame_);
}

}  // namespace orvale
