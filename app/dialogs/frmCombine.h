#pragma once
// The math tool window titled "Math": two document lists, an operation, and Apply,
// which makes a new document whose fit is the sum or the difference of the two
// documents' fits. Its lists mirror a CombineChoices model, which the main window
// keeps current as documents come and go.
#include <cstdint>
#include <string>

#include "app/dialogs/DocumentLists.h"
#include "app/dialogs/ToolWindow.h"

class QComboBox;
class QPushButton;

namespace orvale {

class clsDocument;
class DocumentTable;

class frmCombine : public ToolWindow {
 public:
  // Works on the documents of `table`; `owner` is the main window.
  frmCombine(MainFrame& frame, DocumentTable& table, QWidget* owner);

  // Selects "None", "None", "Add" and places the window from "CombineLeft"/"CombineTop";
  // Unload writes the place back.
  void Load();
  void Unload();

  // Apply: the new document, or null when a list shows "None" or a closed document.
  clsDocument* Combine();

  // A document enters the lists or is renamed there; a closed one leaves them.
  void EnterDocument(std::int32_t slot, const std::string& text);
  void RemoveDocument(std::int32_t slot);

  const CombineChoices& Choices() const { return choices_; }

 private:
  void BuildControls();
  void ShowChoices();

  DocumentTable* table_;
  CombineChoices choices_;

  QComboBox* cboFirstDoc = nullptr;
  QComboBox* cboSecondDoc = nullptr;
  QComboBox* cboOperation = nullptr;
  QPushButton* cmdApply = nullptr;
  QPushButton* cmdClose = nullptr;
};

}  // namespace orvale
