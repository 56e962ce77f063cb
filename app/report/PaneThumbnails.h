#pragma once
// The small pictures of the page setup's preview, one per pane kind 1..9, drawn once
// at run time.
#include <QImage>
#include <cstdint>

namespace orvale {

inline constexpr std::int32_t kPaneThumbnailCount = 9;

// The picture of a pane kind 1..9; a null image for any other kind.
const QImage& PaneThumbnail(std::int32_t kind);

}  // namespace orvale
