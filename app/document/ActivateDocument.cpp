#include "app/document/ActivateDocument.h"

#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

void ActivateDocument(MainFrame& frame, clsDocument& doc) {
  DocumentTable* table = doc.Table();
  clsDocument* previous = table != nullptr ? table->ActiveDocument() : nullptr;
  if (table != nullptr && previous != &doc) {
    // An outline half drawn in the other document ends, so that its toolbox state and
    // its Clear button do not carry over to this one.
    if (previous != nullptr && previous->ImageViewExist) previous->Views().StopDrawingObject();
    if (doc.Settings().HogWindows) {
      if (previous != nullptr) {
        previous->OutputViews_HideAll();
        previous->OutputViews_UpdateGlobals(true);
      }
      doc.OutputViews_UpdateGlobals(false);
      doc.OutputViews_ShowNoActivate(false);
    }
    doc.Views().PaintImage();
  }
  frame.StoreWindowLayout(doc);
}

}  // namespace orvale
