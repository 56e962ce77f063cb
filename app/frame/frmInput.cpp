#include "app/frame/frmInput.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/dialogs/DialogPosition.h"
#include "app/frame/NumberInputRules.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "CurrentVersion";
constexpr std::string_view kLeftKey = "InputDlgLeft";
constexpr std::string_view kTopKey = "InputDlgTop";

}  // namespace

frmInput::frmInput(QWidget* owner) : QDialog(owner) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setModal(true);
  lblPrompt = new QLabel(this);
  lblPrompt->setWordWrap(true);
  lblPrompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  txtInput = new QLineEdit(this);
  cmdOK = new QPushButton("OK", this);
  cmdCancel = new QPushButton("Cancel", this);
  cmdOK->setDefault(true);

  auto* layout = new QGridLayout(this);
  layout->addWidget(lblPrompt, 0, 0, 2, 1);
  layout->addWidget(cmdOK, 0, 1);
  layout->addWidget(cmdCancel, 1, 1);
  layout->addWidget(txtInput, 2, 0, 1, 2);
  layout->setColumnMinimumWidth(0, 220);
  layout->setRowStretch(1, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  txtInput->installEventFilter(this);
  connect(cmdOK, &QPushButton::clicked, this, [this] { GuardHandler([this] { cmdOK_Click(); }); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { GuardHandler([this] { reject(); }); });
}

void frmInput::Load() {
  Escaped = false;
  NumberOnly = false;
  IntegerOnly = false;
  PositiveIntegerOnly = false;
  OutofRange = false;
  ValueL = 0;
  ValueD = 0.0;

  // Stored in twips; the default puts the box's top-left corner at the screen's centre.
  adjustSize();
  const QSize screen = ScreenSizeTwips();
  const std::int32_t w = PixelsToTwips(width());
  const std::int32_t h = PixelsToTwips(height());
  RestoreWindowPosition(*this, frameGeometry().size(), kSection,
                        {kLeftKey, 0, screen.width() - w / 2, screen.width() / 2},
                        {kTopKey, 0, screen.height() - h / 2, screen.height() / 2});
}

NumberInputRequest frmInput::Rules() const {
  NumberInputRequest rules;
  rules.NumberOnly = NumberOnly;
  rules.IntegerOnly = IntegerOnly;
  rules.PositiveIntegerOnly = PositiveIntegerOnly;
  rules.MinimumL = MinimumL;
  rules.MaximumL = MaximumL;
  rules.MinimumD = MinimumD;
  rules.MaximumD = MaximumD;
  return rules;
}

NumberInputAnswer frmInput::Ask(const NumberInputRequest& request) {
  // The texts first, so that the box is placed at the size it is shown with.
  setWindowTitle(QString::fromStdString(request.Caption));
  lblPrompt->setText(QString::fromStdString(request.Prompt));
  txtInput->setText(QString::fromStdString(request.Text));
  Load();
  NumberOnly = request.NumberOnly;
  IntegerOnly = request.IntegerOnly;
  PositiveIntegerOnly = request.PositiveIntegerOnly;
  MinimumL = request.MinimumL;
  MaximumL = request.MaximumL;
  MinimumD = request.MinimumD;
  MaximumD = request.MaximumD;
  txtInput->selectAll();
  txtInput->setFocus();
  exec();

  NumberInputAnswer answer;
  answer.Escaped = Escaped;
  answer.OutofRange = OutofRange;
  answer.ValueL = ValueL;
  answer.ValueD = ValueD;
  answer.Text = txtInput->text().toStdString();
  return answer;
}

void frmInput::cmdOK_Click() {
  const InputNumber number = ConvertInputNumber(txtInput->text().toStdString(), Rules());
  if (NumberOnly) {
    if (IntegerOnly) {
      ValueL = number.ValueL;
    } else {
      ValueD = number.ValueD;
    }
    OutofRange = number.OutofRange;
  }
  Escaped = false;
  accept();
}

void frmInput::reject() {
  Escaped = true;
  QDialog::reject();
}

void frmInput::done(int result) {
  if (isVisible()) {
    SaveSettingLong(kSection, kLeftKey, PixelsToTwips(pos().x()));
    SaveSettingLong(kSection, kTopKey, PixelsToTwips(pos().y()));
  }
  QDialog::done(result);
}

bool frmInput::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtInput && event->type() == QEvent::FocusIn) {
    txtInput->selectAll();
  } else if (watched == txtInput && event->type() == QEvent::KeyPress) {
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    const NumberInputRequest rules = Rules();
    for (const char32_t key : typed.toUcs4()) {
      switch (FilterInputKey(key, rules)) {
        case InputKeyAction::Ok:
          GuardHandler([this] { cmdOK_Click(); });
          return true;
        case InputKeyAction::Cancel:
          GuardHandler([this] { reject(); });
          return true;
        case InputKeyAction::Refuse:
          return true;
        case InputKeyAction::Pass:
          break;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace orvale
