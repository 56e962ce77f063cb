#pragma once
// The averaging tool window titled "Average": the open documents with result windows on
// the left, those included in the average on the right, and Apply, which makes a new
// document whose fit is the mean of the included documents' fits. Its lists mirror an
// AverageLists model, which the main window keeps current as documents come and go.
#include <cstdint>
#include <string>

#include "app/dialogs/DocumentLists.h"
#include "app/dialogs/ToolWindow.h"

class QListWidget;
class QPushButton;

namespace orvale {

class clsDocument;
class DocumentTable;

class frmAverage : public ToolWindow {
 public:
  // Works on the documents of `table`; `owner` is the main window.
  frmAverage(MainFrame& frame, DocumentTable& table, QWidget* owner);

  // Places the window from "AverageLeft"/"AverageTop", by default up and left of the
  // main window; Unload writes the place back.
  void Load();
  void Unload();

  // Includes a document in the average (once) and deselects it among the available.
  void AddToAverage(const clsDocument& doc);
  // Apply: the new document, or null when fewer than two included documents are open.
  clsDocument* AverageDocs();

  // A document enters the lists or is renamed there; a closed one leaves them.
  void EnterDocument(std::int32_t slot, const std::string& text);
  void RemoveDocument(std::int32_t slot);

  const AverageLists& Lists() const { return lists_; }
  // The averages made in this run; the next is "Average" followed by one more.
  std::int32_t AverageCounter = 0;

 private:
  void BuildControls();
  // Shows the model; the available entries selected before stay selected, except
  // `deselect`.
  void ShowLists(std::int32_t deselect = 0);
  // "Add All" (every available entry) or the arrow (the selected ones).
  void IncludeAvailable(bool selectedOnly);
  void ExcludeSelected();

  DocumentTable* table_;
  AverageLists lists_;

  QListWidget* lstAvailable = nullptr;
  QListWidget* lstAverage = nullptr;
  QPushButton* cmdIn = nullptr;
  QPushButton* cmdOut = nullptr;
  QPushButton* cmdAddAll = nullptr;
  QPushButton* cmdClearAll = nullptr;
  QPushButton* cmdApply = nullptr;
  QPushButton* cmdClose = nullptr;
};

}  // namespace orvale
