#include "app/dialogs/frmUserData.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogControls.h"
#include "app/dialogs/DialogPosition.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

constexpr std::string_view kLeftKey = "UserDataLeft";
constexpr std::string_view kTopKey = "UserDataTop";

// A one-line box that drops the line breaks a paste brings in.
QLineEdit* SingleLineBox(const std::string& text, const char* objectName, QWidget* parent) {
  auto* box = new QLineEdit(QtText(text), parent);
  box->setObjectName(objectName);
  QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString& now) {
    if (!now.contains('\r') && !now.contains('\n')) return;
    const int cursor = box->cursorPosition();
    const QString single = QtText(WithoutLineBreaks(now.toStdString()));
    box->setText(single);
    box->setCursorPosition(std::min(cursor, static_cast<int>(single.size())));
  });
  return box;
}

std::string Std(const QLineEdit* box) { return box->text().toStdString(); }

}  // namespace

frmUserData::frmUserData(GeneralSettings& settings, DocumentTable& table, QWidget* owner,
                         DateSource today)
    : QDialog(owner), settings_(&settings), table_(&table), today_(std::move(today)) {
  setWindowTitle("User Data");
  setModal(true);
  const UserDataControls shown = ReadUserData(settings, table);
  txtDescription = SingleLineBox(shown.Description, "txtDescription", this);
  txtDate = SingleLineBox(shown.Date, "txtDate", this);
  txtOperator = SingleLineBox(shown.Operator, "txtOperator", this);
  txtComments = new QPlainTextEdit(QtText(CommentsForEditing(shown.Comments)), this);
  txtComments->setObjectName("txtComments");
  txtComments->setTabChangesFocus(true);
  cmdToday = NamedButton("Today", "cmdToday", this);
  chkSetDefault = NamedCheck("Set As Default", "chkSetDefault", this);
  chkSetDefault->setChecked(shown.SetAsDefault);
  const OkCancelButtons buttons(*this);
  buttons.Row->insertWidget(0, chkSetDefault);

  auto* dateRow = new QHBoxLayout;
  dateRow->addWidget(txtDate);
  dateRow->addWidget(cmdToday);
  auto* fields = new QFormLayout;
  fields->addRow("Optic Description", txtDescription);
  fields->addRow("Date Tested", dateRow);
  fields->addRow("Operator", txtOperator);
  fields->addRow("Comments", txtComments);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons.Row);
  resize(440, 300);

  connect(cmdToday, &QPushButton::clicked, this, [this] {
    GuardHandler([this] { txtDate->setText(QtText(FormatUserDataDate(today_()))); });
  });
  connect(buttons.cmdOK, &QPushButton::clicked, this, [this] { GuardHandler([this] { Ok(); }); });
  RestoreDialogPosition(*this, kLeftKey, kTopKey);
}

UserDataControls frmUserData::Controls() const {
  UserDataControls c;
  c.Description = WithoutLineBreaks(Std(txtDescription));
  c.Date = WithoutLineBreaks(Std(txtDate));
  c.Operator = WithoutLineBreaks(Std(txtOperator));
  c.Comments = CommentsForKeeping(txtComments->toPlainText().toStdString());
  c.SetAsDefault = chkSetDefault->isChecked();
  return c;
}

void frmUserData::Ok() {
  StoreUserData(Controls(), *settings_, *table_);
  accept();
}

void frmUserData::done(int result) {
  GuardHandler([this] {
    SaveDialogPosition(*this, kLeftKey, kTopKey);
    settings_->UserDataDefaults.SetAsDefault = chkSetDefault->isChecked();
  });
  QDialog::done(result);
}

}  // namespace orvale
