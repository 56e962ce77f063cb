#include "app/dialogs/NewOutputViews.h"

#include "app/document/MainFrame.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

void ShowNewOutputViews(clsDocument& doc, MainFrame& frame) {
  const ResultWindowFlags& visible = doc.Settings().ResultWindowVisible;
  for (const OutputViewKind& kind : kOutputViewKinds) doc.*kind.Visible = visible[kind.LayoutIndex];
  doc.OutputViews_UpdateVisibility(true);
  frame.SetMenuItems(false);
  frame.SetToolBarItems(false);
  frame.UpdateToolBar();
  doc.UpdateAverageList();
}

}  // namespace orvale
