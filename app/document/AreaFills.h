#pragma once
// Clearing drawing areas: white under plots, the workspace grey where nothing is shown.
#include <cstdint>

#include "platform/gdi/Color.h"

namespace orvale {

namespace gdi {
class DeviceContext;
}

// The background colour of the multiple-document workspace.
inline constexpr gdi::Color kApplicationWorkspaceColor = gdi::RGB(171, 171, 171);

// Note the order: right and bottom come before left and top.
void FillRectWorkspace(gdi::DeviceContext& dc, std::int32_t right, std::int32_t bottom,
                       std::int32_t left, std::int32_t top);
void FillRectWhite(gdi::DeviceContext& dc, std::int32_t right, std::int32_t bottom,
                   std::int32_t left, std::int32_t top);

}  // namespace orvale
