#pragma once
// The image view's window in the main window's area: the document window frame around
// an ImageView. Its activation is the image view's own (it also switches the shared
// result windows between documents), and closing it closes the document.
#include "app/plots/DocumentSubWindow.h"

namespace orvale {

class FringeToolbox;
class ImageView;

class ImageSubWindow final : public DocumentSubWindow {
 public:
  // A new image view of `doc` inside a new window; `toolbox` may be null.
  ImageSubWindow(MainFrame& frame, clsDocument& doc, FringeToolbox* toolbox);

  ImageView* View() const;

  void RepaintView() override;
  void ReleaseDocument() override;

 protected:
  void Activated() override;
  void UserClose() override;
};

}  // namespace orvale
