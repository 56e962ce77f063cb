#include "app/document/DocumentHost.h"

#include "app/document/DocumentViews.h"

namespace orvale {

std::unique_ptr<DocumentViews> DocumentHost::CreateDocumentViews(clsDocument& /*doc*/) {
  return std::make_unique<DocumentViews>();
}

DocumentHost& HeadlessDocumentHost() {
  static DocumentHost host;
  return host;
}

}  // namespace orvale
