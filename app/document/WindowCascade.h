#pragma once
// Window > Cascade: the shown document windows of the main window's area laid over each
// other so that every title bar stays in view. A window keeps its own size, unless an
// earlier arrangement left it too small to use (a bare title bar), when it takes the
// default size of its kind. The windows step right and down by one title bar from the
// area's top-left corner, the bottom one of the order first, so the top one ends last
// and whole. Steps past the area's bottom start again at its top while the windows go
// on to the right, and the steps narrow when the windows would not fit across: each
// title bar then still shows a part of its own within the area, however small the area
// is next to the windows.
#include <cstdint>
#include <span>
#include <vector>

#include "app/document/ImageWindowSize.h"
#include "platform/registry/ResultWindowLayout.h"

namespace orvale {

class clsDocument;

// A window to cascade: its size now, and the default size of its kind (0 x 0: none).
struct CascadedWindow {
  WindowSize Own;
  WindowSize KindDefault;
};

// Too small to use: less than four steps across or three down.
bool IsUsableWindowSize(const WindowSize& size, std::int32_t step);

// The places of `windows` (bottom of the order first) in an area of `area` pixels,
// stepping `step` pixels (a title bar's height); each keeps its size or, when that is
// not usable and its kind has a default, takes the default.
std::vector<WindowPlacement> CascadePlacements(const WindowSize& area, std::int32_t step,
                                               std::span<const CascadedWindow> windows);

// The size a document's window of a view code is first given: the image view's is made
// for its image, a result window's is its kind's default place. 0 x 0 for anything else.
WindowSize DefaultViewSize(const clsDocument& doc, std::int32_t formType);

}  // namespace orvale
