#include "app/document/MainFrame.h"

#include <QCursor>

#include "app/document/DocumentViews.h"
#include "app/document/clsDocument.h"

namespace orvale {

bool MainFrame::ImageViewStartsInEditMode() const {
  return !ViewItemChecked(ViewMenuItem::Toolbar) || EditToolPressed();
}

QCursor MainFrame::MouseIcon(std::string_view /*key*/) const { return QCursor(Qt::ArrowCursor); }

void MainFrame::BringViewToFront(clsDocument& doc, std::int32_t formType) {
  doc.Views().FocusView(formType);
}

MainFrame& HeadlessMainFrame() {
  static MainFrame frame;
  return frame;
}

}  // namespace orvale
