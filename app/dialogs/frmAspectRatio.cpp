#include "app/dialogs/frmAspectRatio.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/AspectRatio.h"
#include "app/dialogs/DialogControls.h"
#include "app/dialogs/DialogPosition.h"
#include "app/document/DocumentHost.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/MessageService.h"

namespace orvale {

frmAspectRatio::frmAspectRatio(GeneralSettings& settings, DocumentTable& table, QWidget* owner)
    : QDialog(owner), settings_(&settings), table_(&table) {
  setWindowTitle("Adjust Aspect Ratio");
  setModal(true);
  txtAspectRatio = new QLineEdit(QtText(FormatGeneral(settings.ManualAspectRatio)), this);
  txtAspectRatio->setObjectName("txtAspectRatio");
  AllowOnlyDecimalDigits(*txtAspectRatio);
  auto* label = new QLabel("New Aspect Ratio", this);
  label->setBuddy(txtAspectRatio);
  const OkCancelButtons buttons(*this);

  auto* field = new QHBoxLayout;
  field->addWidget(label);
  field->addWidget(txtAspectRatio);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(field);
  layout->addLayout(buttons.Row);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(buttons.cmdOK, &QPushButton::clicked, this, [this] { GuardHandler([this] { Ok(); }); });
  adjustSize();
  move(DefaultDialogTopLeft(*this));
}

void frmAspectRatio::Ok() {
  clsDocument* doc = table_->ActiveDocument();
  if (doc == nullptr) return;
  double ratio = 0.0;
  if (!ReadAspectRatio(txtAspectRatio->text().toStdString(), ratio)) {
    ShowMessage(std::string(kAspectRatioWarning), mb::kOk | mb::kIconExclamation, "Warning",
                reinterpret_cast<WindowHandle>(this));
    txtAspectRatio->setFocus();
    txtAspectRatio->selectAll();
    return;
  }
  settings_->ManualAspectRatio = ratio;
  if (!doc->StretchImage(ratio, true)) {
    ShowMessage(std::string(kCannotResampleWarning), mb::kOk | mb::kIconExclamation, "Warning",
                reinterpret_cast<WindowHandle>(this));
    return;
  }
  // The status bar shows the image's new size.
  doc->Host().SetStatusBar();
  accept();
}

void ShowAspectRatioDialog(GeneralSettings& settings, DocumentTable& table, QWidget* owner) {
  frmAspectRatio dialog(settings, table, owner);
  dialog.exec();
}

}  // namespace orvale
