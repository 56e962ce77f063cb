#pragma once
// The modal "User Data" dialog: the four texts of the active document that the test
// report prints, and whether they become the defaults for new documents. Its controls
// mirror a UserDataControls model.
#include <QDialog>
#include <chrono>
#include <functional>

#include "app/dialogs/UserData.h"
#include "platform/registry/GeneralSettings.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orvale {

class frmUserData final : public QDialog {
 public:
  using DateSource = std::function<std::chrono::year_month_day()>;

  // Shows the active document's texts (the defaults without one). "Today" asks `today`
  // for the date.
  frmUserData(GeneralSettings& settings, DocumentTable& table, QWidget* owner,
              DateSource today = &LocalToday);

  // The texts and the check box as the model keeps them.
  UserDataControls Controls() const;

  // After OK and after Cancel: the place is stored and "Set As Default" is kept.
  void done(int result) override;

 private:
  void Ok();

  GeneralSettings* settings_;
  DocumentTable* table_;
  DateSource today_;
  QLineEdit* txtDescription = nullptr;
  QLineEdit* txtDate = nullptr;
  QLineEdit* txtOperator = nullptr;
  QPlainTextEdit* txtComments = nullptr;
  QPushButton* cmdToday = nullptr;
  QCheckBox* chkSetDefault = nullptr;
};

}  // namespace orvale
