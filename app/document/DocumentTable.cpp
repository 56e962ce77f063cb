#include "app/document/DocumentTable.h"

#include "app/document/DocumentHost.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/MessageService.h"

namespace orvale {

DocumentTable::DocumentTable(GeneralSettings& settings, DocumentHost* host)
    : settings_(&settings), host_(host != nullptr ? host : &HeadlessDocumentHost()) {}

DocumentTable::~DocumentTable() {
  for (auto& slot : Documents) slot.reset();
}

bool DocumentTable::NewDocument(clsDocument*& doc) {
  doc = nullptr;
  auto created = std::make_unique<clsDocument>(*settings_, host_, this);
  clsDocument* made = created.get();
  if (!RegisterDocument(created)) return false;
  ++NumDocuments;
  doc = made;
  return true;
}

bool DocumentTable::RegisterDocument(std::unique_ptr<clsDocument>& doc) {
  for (std::int32_t i = 1; i <= kMaxDocuments; ++i) {
    if (DocumentInUse[static_cast<std::size_t>(i)]) continue;
    doc->ovDocIndex = i;
    serials_[static_cast<std::size_t>(i)] = ++lastSerial_;
    Documents[static_cast<std::size_t>(i)] = std::move(doc);
    DocumentInUse[static_cast<std::size_t>(i)] = true;
    return true;
  }
  doc.reset();
  ShowMessage("Too many open documents", mb::kOk, "Error");
  return false;
}

void DocumentTable::CloseDocument(clsDocument*& doc, bool Force, std::int16_t& Cancel) {
  if (doc == nullptr) return;
  const std::int32_t slot = doc->ovDocIndex;
  if (slot < 1 || slot > kMaxDocuments) return;
  // Only the document that holds the slot can free it.
  if (Documents[static_cast<std::size_t>(slot)].get() != doc) return;

  if (!Force) {
    doc->SaveDocumentSettings(Cancel);
    if (Cancel == 1) return;
  }

  host_->RemoveFromDocumentLists(slot);

  DocumentViews& views = doc->Views();
  if (doc->OutputViewsExist) {
    if (settings_->HogWindows && NumDocuments == 1) doc->OutputViews_UpdateGlobals(true);
    views.UnloadOutputViews();
    doc->DestroyView(2);
  }
  if (doc->ImageViewExist) {
    views.StopDrawingObject();
    views.UnloadImageView();
    doc->DestroyView(1);
  }

  DocumentInUse[static_cast<std::size_t>(slot)] = false;
  serials_[static_cast<std::size_t>(slot)] = 0;
  Documents[static_cast<std::size_t>(slot)].reset();
  doc = nullptr;

  --NumDocuments;
  if (NumDocuments == 0) {
    if (settings_->HogWindows) host_->SaveWindowLayout();
    host_->SetStatusBar();
    host_->SetMenuItems(false);
    host_->SetToolBarItems(false);
    host_->ShowCurrentGridData();
  }
}

DocumentRef DocumentTable::RefOf(const clsDocument& doc) const {
  const std::int32_t slot = doc.ovDocIndex;
  if (slot < 1 || slot > kMaxDocuments) return {};
  if (Documents[static_cast<std::size_t>(slot)].get() != &doc) return {};
  return {slot, serials_[static_cast<std::size_t>(slot)]};
}

clsDocument* DocumentTable::Find(const DocumentRef& ref) const {
  if (ref.Slot < 1 || ref.Slot > kMaxDocuments || ref.Serial == 0) return nullptr;
  const auto slot = static_cast<std::size_t>(ref.Slot);
  if (!DocumentInUse[slot] || serials_[slot] != ref.Serial) return nullptr;
  return Documents[slot].get();
}

clsDocument* DocumentTable::ActiveDocument() const {
  if (ActiveDocIndex < 1 || ActiveDocIndex > kMaxDocuments) return nullptr;
  if (!DocumentInUse[static_cast<std::size_t>(ActiveDocIndex)]) return nullptr;
  return Documents[static_cast<std::size_t>(ActiveDocIndex)].get();
}

}  // namespace orvale
