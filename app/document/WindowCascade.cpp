#include "app/document/WindowCascade.h"

#include <algorithm>

#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"

namespace orvale {

namespace {

constexpr std::int32_t kUsableStepsAcross = 4;
constexpr std::int32_t kUsableStepsDown = 3;

}  // namespace

bool IsUsableWindowSize(const WindowSize& size, std::int32_t step) {
  return size.Width >= kUsableStepsAcross * step && size.Height >= kUsableStepsDown * step;
}

std::vector<WindowPlacement> CascadePlacements(const WindowSize& area, std::int32_t step,
                                               std::span<const CascadedWindow> windows) {
  std::vector<WindowPlacement> places;
  if (windows.empty()) return places;
  step = std::max<std::int32_t>(step, 1);
  // As many title bars down as the area holds whole, at least one.
  const std::int64_t rows = std::max<std::int64_t>(1, (std::int64_t{area.Height} - step) / step + 1);
  // Across, a full step while the last window's corner still lies in the area.
  std::int64_t across = step;
  if (windows.size() > 1) {
    const std::int64_t room = std::int64_t{area.Width} - step;
    across = std::clamp<std::int64_t>(room / static_cast<std::int64_t>(windows.size() - 1), 1, step);
  }
  for (std::size_t k = 0; k < windows.size(); ++k) {
    const CascadedWindow& w = windows[k];
    const bool keepsOwn = IsUsableWindowSize(w.Own, step) || w.KindDefault.Width < 1 ||
                          w.KindDefault.Height < 1;
    const WindowSize size = keepsOwn ? w.Own : w.KindDefault;
    const auto n = static_cast<std::int64_t>(k);
    places.push_back({static_cast<std::int32_t>(n * across),
                      static_cast<std::int32_t>((n % rows) * step), size.Width, size.Height});
  }
  return places;
}

WindowSize DefaultViewSize(const clsDocument& doc, std::int32_t formType) {
  if (formType == viewtype::kImage) return {doc.InitWindowWidth, doc.InitWindowHeight};
  if (const OutputViewKind* kind = FindOutputViewKind(formType)) {
    const ResultWindowKind& layout = kResultWindowKinds[kind->LayoutIndex];
    return {layout.DefaultWidth, layout.DefaultHeight};
  }
  return {};
}

}  // namespace orvale
