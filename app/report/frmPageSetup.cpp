#include "app/report/frmPageSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogPosition.h"
#include "app/report/ReportPaneKinds.h"
#include "platform/gdi/PainterDeviceContext.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

constexpr const char* kLeftKey = "PageSetupLeft";
constexpr const char* kTopKey = "PageSetupTop";
constexpr int kPreviewPixels = 260;

struct PaneChoice {
  const char* Caption;
  std::int32_t Kind;
};
// In list order; the dialog works through the kinds, never the positions.
constexpr PaneChoice kPaneChoices[] = {
    {"None", panekind::kNone},
    {"Aberrations", panekind::kAberrations},
    {"Contour Plot", panekind::kContourPlot},
    {"Grid Results", panekind::kGridResults},
    {"Interferogram", panekind::kInterferogram},
    {"Line Profile", panekind::kLineProfile},
    {"Logo", panekind::kLogo},
    {"Surface Plot", panekind::kSurfacePlot},
    {"Synthetic Fringes", panekind::kSyntheticFringes},
    {"Zernikes", panekind::kZernikes},
};

constexpr const char* kShowCaptions[] = {
    "",          "RMS",        "Peak-Valley", "Strehl Ratio", "Tilt",
    "Defocus",   "Astigmatism", "Coma",       "Spherical",    "Scale",
    "Wavelength", "Data Points", "Description", "Date Tested", "Operator",
    "Comments"};

QString Name(const char* stem, int index) { return QString("%1%2").arg(stem).arg(index); }

}  // namespace

PagePreviewBox::PagePreviewBox(std::function<PagePreviewState()> state, QWidget* parent)
    : QWidget(parent), state_(std::move(state)) {
  setFixedSize(kPreviewPixels, kPreviewPixels);
}

void PagePreviewBox::paintEvent(QPaintEvent* /*event*/) {
  GuardHandler([this] {
    QPainter painter(this);
    gdi::PainterDeviceContext dc(painter, gdi::DisplayCaps(width(), height()));
    DrawPagePreview(dc, state_(), std::min(width(), height()));
  });
}

frmPageSetup::frmPageSetup(GeneralSettings& settings, QWidget* owner)
    : QDialog(owner),
      lblPanes(new QLabel("Number of Panes", this)),
      cboPanes(new QComboBox(this)),
      frmOrientation(new QGroupBox("Orientation", this)),
      optOrient1(new QRadioButton("Portrait", frmOrientation)),
      optOrient2(new QRadioButton("Landscape", frmOrientation)),
      chkDrawGrid(new QCheckBox("Draw Grid Lines", this)),
      fraShow(new QGroupBox("Show", this)),
      picPreview(new PagePreviewBox([this] { return PreviewState(); }, this)),
      cmdOK(new QPushButton("OK", this)),
      cmdCancel(new QPushButton("Cancel", this)),
      settings_(settings) {
  setWindowTitle("Page Setup");
  setModal(true);
  lblPanes->setObjectName("lblPanes");
  cboPanes->setObjectName("cboPanes");
  for (int n = 1; n <= kMaxReportPanes; ++n) cboPanes->addItem(n == 1 ? "1 Pane" : QString("%1 Panes").arg(n));
  frmOrientation->setObjectName("frmOrientation");
  optOrient1->setObjectName("optOrient1");
  optOrient2->setObjectName("optOrient2");
  chkDrawGrid->setObjectName("chkDrawGrid");
  fraShow->setObjectName("fraShow");
  picPreview->setObjectName("picPreview");
  cmdOK->setObjectName("cmdOK");
  cmdCancel->setObjectName("cmdCancel");
  cmdOK->setDefault(true);

  auto* panes = new QGridLayout;
  panes->addWidget(lblPanes, 0, 0);
  panes->addWidget(cboPanes, 0, 1);
  for (int k = 1; k <= kMaxReportPanes; ++k) {
    lblPane[k] = new QLabel(Name("Pane ", k), this);
    lblPane[k]->setObjectName(Name("lblPane", k));
    cboViews[k] = new QComboBox(this);
    cboViews[k]->setObjectName(Name("cboViews", k));
    for (const PaneChoice& choice : kPaneChoices) cboViews[k]->addItem(choice.Caption, choice.Kind);
    panes->addWidget(lblPane[k], k, 0);
    panes->addWidget(cboViews[k], k, 1);
  }
  auto* orientation = new QVBoxLayout(frmOrientation);
  orientation->addWidget(optOrient1);
  orientation->addWidget(optOrient2);
  panes->addWidget(frmOrientation, kMaxReportPanes + 1, 0, 1, 2);
  panes->addWidget(chkDrawGrid, kMaxReportPanes + 2, 0, 1, 2);
  panes->setRowStretch(kMaxReportPanes + 3, 1);

  auto* show = new QGridLayout(fraShow);
  for (int i = 1; i <= 15; ++i) {
    chkShow[i] = new QCheckBox(kShowCaptions[i], fraShow);
    chkShow[i]->setObjectName(Name("chkShow", i));
    show->addWidget(chkShow[i], (i - 1) % 5, (i - 1) / 5);
  }

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  buttons->addStretch(1);

  auto* top = new QHBoxLayout;
  top->addLayout(panes);
  top->addWidget(picPreview, 0, Qt::AlignTop);
  top->addLayout(buttons);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addWidget(fraShow);
  all->setSizeConstraint(QLayout::SetFixedSize);

  const auto repaint = [this] { picPreview->update(); };
  connect(cboPanes, &QComboBox::currentIndexChanged, this,
          [this] { GuardHandler([this] { PanesChanged(); }); });
  for (int k = 1; k <= kMaxReportPanes; ++k)
    connect(cboViews[k], &QComboBox::currentIndexChanged, this, repaint);
  connect(chkDrawGrid, &QCheckBox::toggled, this, repaint);
  connect(optOrient1, &QRadioButton::toggled, this, repaint);
  connect(optOrient2, &QRadioButton::toggled, this, repaint);
  connect(cmdOK, &QPushButton::clicked, this, [this] { GuardHandler([this] { cmdOK_Click(); }); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { GuardHandler([this] { reject(); }); });
  Load();
}

void frmPageSetup::Load() {
  // Centred across the screen and in its upper half, unless it was placed before.
  adjustSize();
  RestoreDialogPosition(*this, kLeftKey, kTopKey);

  if (settings_.ReportOrientation == 1) optOrient1->setChecked(true);
  if (settings_.ReportOrientation == 2) optOrient2->setChecked(true);
  chkDrawGrid->setChecked(settings_.ReportDrawGrid);
  cboPanes->setCurrentIndex(std::clamp(settings_.ReportNumPanes, 1, kMaxReportPanes) - 1);
  for (int k = 1; k <= kMaxReportPanes; ++k) {
    const int item = cboViews[k]->findData(settings_.ReportPanes[static_cast<std::size_t>(k)]);
    if (item >= 0) cboViews[k]->setCurrentIndex(item);
  }
  for (int i = 1; i <= 15; ++i) chkShow[i]->setChecked(settings_.ReportShowFlags[static_cast<std::size_t>(i)]);
  // Qt reports no change for an index that is already right (a stored single pane is
  // index 0), so the enabling and the preview are brought up to date here.
  PanesChanged();
}

void frmPageSetup::PanesChanged() {
  panes_ = cboPanes->currentIndex() + 1;
  for (int k = 1; k <= kMaxReportPanes; ++k) cboViews[k]->setEnabled(k <= panes_);
  picPreview->update();
}

PagePreviewState frmPageSetup::PreviewState() const {
  PagePreviewState state;
  state.Orientation = optOrient2->isChecked() ? 2 : 1;
  state.DrawGrid = chkDrawGrid->isChecked();
  state.Panes = panes_;
  for (int k = 1; k <= kMaxReportPanes; ++k) {
    const QComboBox* combo = cboViews[k];
    state.Kinds[static_cast<std::size_t>(k)] = combo->currentIndex() >= 0 ? combo->currentData().toInt() : -1;
  }
  return state;
}

void frmPageSetup::cmdOK_Click() {
  if (optOrient1->isChecked()) settings_.ReportOrientation = 1;
  if (optOrient2->isChecked()) settings_.ReportOrientation = 2;
  settings_.ReportDrawGrid = chkDrawGrid->isChecked();
  settings_.ReportNumPanes = cboPanes->currentIndex() + 1;
  for (int k = 1; k <= kMaxReportPanes; ++k) {
    if (cboViews[k]->currentIndex() >= 0)
      settings_.ReportPanes[static_cast<std::size_t>(k)] = cboViews[k]->currentData().toInt();
  }
  for (int i = 1; i <= 15; ++i) settings_.ReportShowFlags[static_cast<std::size_t>(i)] = chkShow[i]->isChecked();
  accept();
}

void frmPageSetup::done(int result) {
  GuardHandler([this] { SaveDialogPosition(*this, kLeftKey, kTopKey); });
  QDialog::done(result);
}

}  // namespace orvale
