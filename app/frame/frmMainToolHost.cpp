// What the documents ask of the averaging, math and grid windows through the main
// window, and the Add To Average command.
#include "app/document/clsDocument.h"
#include "app/frame/FrameContext.h"
#include "app/frame/frmMain.h"

namespace orvale {

void frmMain::AddToDocumentLists(const clsDocument& doc) {
  if (app_.Tools.Average != nullptr) app_.Tools.Average->EnterDocument(doc.ovDocIndex, doc.ImageFileName);
  if (app_.Tools.Math != nullptr) app_.Tools.Math->EnterDocument(doc.ovDocIndex, doc.ImageFileName);
}

void frmMain::RemoveFromDocumentLists(std::int32_t slot) {
  if (app_.Tools.Average != nullptr) app_.Tools.Average->RemoveDocument(slot);
  if (app_.Tools.Math != nullptr) app_.Tools.Math->RemoveDocument(slot);
}

void frmMain::ShowCurrentGridData() {
  if (app_.Tools.AnalyzeGrid != nullptr) app_.Tools.AnalyzeGrid->ShowCurrentGridData();
}

void frmMain::AddActiveToAverage() {
  clsDocument* doc = ActiveDocument();
  if (doc != nullptr && app_.Tools.Average != nullptr) app_.Tools.Average->AddToAverage(*doc);
}

}  // namespace orvale
