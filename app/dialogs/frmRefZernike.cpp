#include "app/dialogs/frmRefZernike.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "CurrentVersion";
constexpr std::int32_t kDefaultLeft = 4272;
constexpr std::int32_t kDefaultTop = 5160;
constexpr int kRowsPerColumn = 12;

}  // namespace

frmRefZernike::frmRefZernike(MainFrame& frame, GeneralSettings& settings, QWidget* owner)
    : ToolWindow(frame, ViewMenuItem::RefZernike, "Reference Zernikes", owner),
      settings_(&settings) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  for (int term = 1; term <= kZernikeTermCount; ++term) {
    const int row = (term - 1) % kRowsPerColumn;
    const int column = 2 * ((term - 1) / kRowsPerColumn);
    auto* label = new QLabel(QString::number(term), this);
    label->setObjectName(QString("lblZernikeCoeff%1").arg(term));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* box = new QLineEdit(this);
    box->setObjectName(QString("txtZernike%1").arg(term));
    box->setFixedWidth(90);
    box->installEventFilter(this);
    // Stored on every edit: a value typed into the focused box must reach the next
    // Apply even though switching windows or closing this one is no focus loss.
    connect(box, &QLineEdit::textEdited, this,
            [this, term] { GuardHandler([this, term] { StoreCoefficient(term); }); });
    txtZernike[static_cast<std::size_t>(term)] = box;
    grid->addWidget(label, row, column);
    grid->addWidget(box, row, column + 1);
    if (column > 0) grid->setColumnMinimumWidth(column, 28);
  }

  auto* cmdClose = new QPushButton("Close", this);
  cmdClose->setObjectName("cmdClose");
  connect(cmdClose, &QPushButton::clicked, this,
          [this] { GuardHandler([this] { HideFromView(); }); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdClose);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmRefZernike::Load() {
  for (std::size_t term = 1; term <= kZernikeTermCount; ++term) {
    beforeEdit_[term] = settings_->CustomRefZernikes[term];
    txtZernike[term]->setText(QString::fromStdString(FormatGeneral(beforeEdit_[term])));
  }
  adjustSize();
  RestorePositionOnScreen(kSection, "RefZernikeLeft", "RefZernikeTop", kDefaultLeft, kDefaultTop);
}

void frmRefZernike::Unload() { SavePosition(kSection, "RefZernikeLeft", "RefZernikeTop"); }

void frmRefZernike::StoreCoefficient(int term) {
  const auto index = static_cast<std::size_t>(term);
  const double value = ReadLeadingNumber(txtZernike[index]->text().toStdString());
  settings_->CustomRefZernikes[index] = std::isfinite(value) ? value : beforeEdit_[index];
}

bool frmRefZernike::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
      for (std::size_t term = 1; term <= kZernikeTermCount; ++term) {
        if (txtZernike[term] == box) beforeEdit_[term] = settings_->CustomRefZernikes[term];
      }
      // Deferred: the mouse press that gave the focus would clear the selection again.
      QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
  }
  return ToolWindow::eventFilter(watched, event);
}

}  // namespace orvale
