#pragma once
// A document's windows as Qt windows in the main window's MDI area. The view rules are
// the base class's; this class only makes the windows. What each window shows comes
// from the factory it is given, so the result windows and the image view plug in
// their own DocumentSubWindow kinds; without one a window has an empty content widget.
#include <QPointer>
#include <functional>

#include "app/document/DocumentViews.h"

class QMdiArea;

namespace orvale {

class DocumentSubWindow;
class MainFrame;

class MdiDocumentViews : public DocumentViews {
 public:
  // A new window of a view code for a document, not yet in any area; null (or an
  // exception carrying the reason) when it cannot be made.
  using SubWindowFactory =
      std::function<DocumentSubWindow*(MainFrame& frame, clsDocument& doc, std::int32_t formType)>;

  // `frame` and `area` must outlive the document's windows' use; the area's scroll bars
  // are turned on as needed, so that windows cascaded past its edge can be reached.
  MdiDocumentViews(MainFrame& frame, QMdiArea& area, SubWindowFactory factory = {});

  // The Qt window of a view code; null when it does not exist.
  DocumentSubWindow* SubWindow(std::int32_t formType) const;

 protected:
  std::unique_ptr<DocumentWindow> MakeWindow(clsDocument& doc, std::int32_t formType) override;

 private:
  MainFrame* frame_;
  QPointer<QMdiArea> area_;
  SubWindowFactory factory_;
};

}  // namespace orvale
