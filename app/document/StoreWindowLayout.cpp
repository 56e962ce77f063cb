#include "app/document/StoreWindowLayout.h"

#include "app/document/DocumentHost.h"
#include "app/document/DocumentTable.h"
#include "app/document/DocumentViews.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

void StoreWindowLayout(DocumentTable& table, clsDocument& doc) {
  table.ActiveDocIndex = doc.ovDocIndex;
  GeneralSettings& settings = table.Settings();
  if (doc.OutputViewsExist && !settings.HogWindows) {
    const DocumentViews& views = doc.Views();
    for (int kind = 0; kind < kResultWindowCount; ++kind) {
      const std::int32_t formType = viewtype::kSurfacePlot + kind;
      if (views.ViewShowState(formType) != WindowShowState::Normal) continue;
      settings.ResultWindowLayout[static_cast<std::size_t>(kind)] = views.GetViewPlacement(formType);
    }
  }
  table.Host().ShowCurrentGridData();
}

}  // namespace orvale
