#include "app/document/GrabCommand.h"

#include <string>

#include "app/document/DocumentHost.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"

namespace orvale {

namespace {

void Discard(DocumentTable& table, clsDocument* doc) {
  std::int16_t cancel = 0;
  table.CloseDocument(doc, true, cancel);
}

}  // namespace

bool GrabIntoDocument(clsDocument& doc, const DocumentGrab& grab) {
  // The user's document keeps its image, shapes and fringes when the grab fails.
  if (!grab(doc)) return false;
  doc.BMPDirty = true;
  doc.BlankImage = false;
  doc.ImageView_Refresh();
  doc.Host().SetStatusBar();
  return true;
}

clsDocument* GrabImage(DocumentTable& table, std::int32_t& imageCounter, bool intoNewWindow,
                       const DocumentGrab& grab) {
  if (!intoNewWindow && table.ActiveDocIndex != 0) {
    clsDocument* doc = table.ActiveDocument();
    return doc != nullptr && GrabIntoDocument(*doc, grab) ? doc : nullptr;
  }

  clsDocument* doc = nullptr;
  if (!table.NewDocument(doc)) return nullptr;
  if (!grab(*doc) || !doc->CreateView(1)) {
    Discard(table, doc);
    return nullptr;
  }
  ++imageCounter;
  doc->ImageFileName = "Image" + std::to_string(imageCounter);
  doc->BMPDirty = true;
  doc->ImageView_Init();
  doc->Views().ResizeWindow();
  doc->Views().ShowImageView();
  return doc;
}

}  // namespace orvale
