#include "app/plots/MdiDocumentViews.h"

#include <QMdiArea>

#include "app/plots/DocumentSubWindow.h"
#include "app/plots/MdiDocumentWindow.h"

namespace orvale {

MdiDocumentViews::MdiDocumentViews(MainFrame& frame, QMdiArea& area, SubWindowFactory factory)
    : frame_(&frame), area_(&area), factory_(std::move(factory)) {
  area.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

DocumentSubWindow* MdiDocumentViews::SubWindow(std::int32_t formType) const {
  const auto* window = dynamic_cast<const MdiDocumentWindow*>(Window(formType));
  return window != nullptr ? window->SubWindow() : nullptr;
}

std::unique_ptr<DocumentWindow> MdiDocumentViews::MakeWindow(clsDocument& doc,
                                                             std::int32_t formType) {
  if (area_ == nullptr) return nullptr;
  DocumentSubWindow* window = factory_ ? factory_(*frame_, doc, formType)
                                       : new DocumentSubWindow(*frame_, doc, formType, new QWidget);
  if (window == nullptr) return nullptr;
  return std::make_unique<MdiDocumentWindow>(*area_, window);
}

}  // namespace orvale
