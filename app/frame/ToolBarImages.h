#pragma once
// The pictures of the toolbar buttons, drawn by the program itself on a 16 x 16 grid
// (with a sharper copy for high-density screens).
#include <QIcon>
#include <string_view>

namespace orvale {

// The picture with an "img..." key of the toolbar table; an empty icon for an unknown key.
QIcon ToolBarImage(std::string_view key);

}  // namespace orvale
