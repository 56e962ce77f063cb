#include "app/dialogs/WorkspaceLayout.h"

#include <vector>

#include "app/document/DocumentTable.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {

namespace {

// The open documents other than `active`, in slot order.
std::vector<clsDocument*> OtherDocuments(const DocumentTable& table, const clsDocument* active) {
  std::vector<clsDocument*> others;
  for (std::int32_t slot = 1; slot <= DocumentTable::kMaxDocuments; ++slot) {
    const auto i = static_cast<std::size_t>(slot);
    clsDocument* doc = table.DocumentInUse[i] ? table.Documents[i].get() : nullptr;
    if (doc != nullptr && doc != active) others.push_back(doc);
  }
  return others;
}

void ShareOneSet(GeneralSettings& settings, clsDocument& active,
                 const std::vector<clsDocument*>& others) {
  const clsDocument* source = active.OutputViewsExist ? &active : nullptr;
  for (const clsDocument* doc : others) {
    if (source == nullptr && doc->OutputViewsExist) source = doc;
  }
  if (source != nullptr) {
    for (const OutputViewKind& kind : kOutputViewKinds) {
      if (source->*kind.Visible)
        settings.ResultWindowLayout[kind.LayoutIndex] = source->Views().GetViewPlacement(kind.FormType);
    }
  }
  for (clsDocument* doc : others) {
    doc->OutputViews_HideAll();
    doc->OutputViews_Offset(0, 0, true);
    if (!doc->OutputViewsExist) continue;
    for (const OutputViewKind& kind : kOutputViewKinds) {
      if (doc->*kind.Visible)
        doc->Views().SetViewPlacement(kind.FormType, settings.ResultWindowLayout[kind.LayoutIndex]);
    }
  }
}

void CascadeSets(clsDocument& active, const std::vector<clsDocument*>& others,
                 const WindowFrameMetrics& metrics) {
  const std::int32_t dx = metrics.FrameWidth;
  const std::int32_t dy = metrics.CaptionHeight + metrics.FrameWidth;
  std::int32_t k = 0;
  for (clsDocument* doc : others) {
    ++k;
    doc->OutputViews_Offset(k * dx, k * dy, false);
  }
  if (DocumentWindow* image = active.Views().Window(viewtype::kImage)) image->BringToTop(false);
  active.OutputViews_ShowNoActivate(true);
}

}  // namespace

void RearrangeForWorkspace(DocumentTable& table, const WindowFrameMetrics& metrics) {
  clsDocument* active = table.ActiveDocument();
  if (table.NumDocuments < 1 || active == nullptr) return;
  const std::vector<clsDocument*> others = OtherDocuments(table, active);
  GeneralSettings& settings = table.Settings();
  if (settings.HogWindows) {
    ShareOneSet(settings, *active, others);
  } else {
    CascadeSets(*active, others, metrics);
  }
}

}  // namespace orvale
