#pragma once
// The program's small modal input box: a prompt, one field, OK and Cancel. The caller
// loads it, sets the caption, prompt, mode flags and limits, shows it modally and then
// reads Escaped, OutofRange and ValueL or ValueD. One instance serves the whole
// program, also as its number input service. It reopens where the user left it.
#include <QDialog>
#include <cstdint>

#include "app/dialogs/NumberInput.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvale {

class frmInput : public QDialog, public NumberInputService {
 public:
  explicit frmInput(QWidget* owner = nullptr);

  // Resets the flags and values (not the limits) and places the box at its stored
  // position.
  void Load();

  // Load, set the caption, prompt, text and rules, run the box modally, and answer.
  NumberInputAnswer Ask(const NumberInputRequest& request) override;

  bool NumberOnly = false;
  bool IntegerOnly = false;
  bool PositiveIntegerOnly = false;
  std::int32_t MinimumL = 0;
  std::int32_t MaximumL = 0;
  double MinimumD = 0.0;
  double MaximumD = 0.0;
  std::int32_t ValueL = 0;
  double ValueD = 0.0;
  bool OutofRange = false;
  bool Escaped = false;

  QLabel* lblPrompt = nullptr;
  QLineEdit* txtInput = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;

  // Every way the box closes without OK (Cancel, Esc, the close box) is a cancel.
  void reject() override;
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  NumberInputRequest Rules() const;
  void cmdOK_Click();
};

}  // namespace orvale
