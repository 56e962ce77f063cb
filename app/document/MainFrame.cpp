#include "app/document/MainFrame.h"

#include <QCursor>

#include "app/document/DocumentViews.h"
#include "app/document/clsDocument.h"

namespace orvale {

bool ViewMenuItemOfFormType(std::int32_t formType, ViewMenuItem& item) {
  switch (formType) {
    case viewtype::kSurfacePlot: item = ViewMenuItem::SurfacePlot; return true;
    case viewtype::kContourPlot: item = ViewMenuItem::ContourPlot; return true;
    case viewtype::kLineProfile: item = ViewMenuItem::LineProfile; return true;
    case viewtype::kSFringe: item = ViewMenuItem::SFringe; return true;
    case viewtype::kAberrations: item = ViewMenuItem::Aberrations; return true;
    case viewtype::kZernikes: item = ViewMenuItem::Zernikes; return true;
    case viewtype::kGridResults: item = ViewMenuItem::GridResults; return true;
    default: return false;
  }
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
