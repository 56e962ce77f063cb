#include "app/report/PagePreview.h"

#include <QImage>
#include <algorithm>

#include "app/report/PaneThumbnails.h"
#include "app/report/ReportPaneKinds.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RasterOps.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr std::int32_t kSheetShortSide = 21600;
constexpr std::int32_t kSheetLongSide = 27900;
constexpr std::int32_t kSheetMargin = 600;
constexpr std::int32_t kPictureInset = 300;
constexpr gdi::Color kBoxColour = 0x808080;

bool ShownAtOwnSize(std::int32_t kind) {
  return kind == panekind::kAberrations || kind == panekind::kLogo || kind == panekind::kZernikes;
}

// Units of the box to its pixels.
class BoxScale {
 public:
  explicit BoxScale(std::int32_t boxPixels) : pixels_(boxPixels) {}
  std::int32_t Pixels(std::int32_t units) const {
    return RoundToInt32(static_cast<double>(units) * pixels_ / kPreviewBoxUnits);
  }
  std::int32_t Units(std::int32_t pixels) const {
    return RoundToInt32(static_cast<double>(pixels) * kPreviewBoxUnits / pixels_);
  }
  gdi::Point Pixels(gdi::Point units) const { return {Pixels(units.x), Pixels(units.y)}; }

 private:
  std::int32_t pixels_;
};

void Line(gdi::DeviceContext& dc, const BoxScale& scale, gdi::Point from, gdi::Point to) {
  const gdi::Point a = scale.Pixels(from), b = scale.Pixels(to);
  dc.MoveTo(a.x, a.y);
  dc.LineTo(b.x, b.y);
}

void DrawPaneThumbnails(gdi::DeviceContext& dc, const BoxScale& scale, std::int32_t kind,
                        const PaneRect& pane) {
  const QImage& picture = PaneThumbnail(kind);
  if (picture.isNull()) return;
  const std::optional<gdi::Rect> place =
      PlaceThumbnail(kind, pane, scale.Units(picture.width()), scale.Units(picture.height()));
  if (!place) return;
  const std::int32_t x = scale.Pixels(place->left), y = scale.Pixels(place->top);
  const std::int32_t w = scale.Pixels(place->right) - x, h = scale.Pixels(place->bottom) - y;
  if (w < 1 || h < 1) return;
  const gdi::ImageDeviceContext source(picture);
  if (ShownAtOwnSize(kind)) {
    // The picture's own pixels from its top-left corner, as many as the pane shows.
    dc.StretchBlt(x, y, w, h, source, 0, 0, std::min(w, picture.width()),
                  std::min(h, picture.height()), gdi::SRCCOPY);
  } else {
    const int mode = dc.SetStretchBltMode(gdi::HALFTONE);
    dc.StretchBlt(x, y, w, h, source, 0, 0, picture.width(), picture.height(), gdi::SRCCOPY);
    dc.SetStretchBltMode(mode);
  }
}

}  // namespace

PreviewPage ComputePreviewPage(std::int32_t orientation, std::int32_t boxLeft,
                               std::int32_t boxTop, std::int32_t boxWidth,
                               std::int32_t boxHeight) {
  const bool landscape = orientation == 2;
  const std::int32_t W = landscape ? kSheetLongSide : kSheetShortSide;
  const std::int32_t H = landscape ? kSheetShortSide : kSheetLongSide;
  // Centred by the box's own width and height in either orientation.
  const std::int32_t x0 = boxLeft + RoundToInt32((boxWidth - W) / 2.0);
  const std::int32_t y0 = boxTop + RoundToInt32((boxHeight - H) / 2.0);
  return PreviewPage{{x0, y0, x0 + W, y0 + H},
                     {x0 + kSheetMargin, y0 + kSheetMargin, x0 + W - kSheetMargin,
                      y0 + H - kSheetMargin}};
}

PaneLayout PreviewPaneLayout(const PreviewPage& page, std::int32_t panes) {
  const PaneRect& a = page.Area;
  return ComputePaneLayout(panes, a.Left, a.Top, a.Right, a.Bottom, a.Right - a.Left,
                           a.Bottom - a.Top);
}

std::optional<gdi::Rect> PlaceThumbnail(std::int32_t kind, const PaneRect& pane,
                                        std::int32_t pictureWidth, std::int32_t pictureHeight) {
  const std::int32_t bw = pane.Right - pane.Left - 2 * kPictureInset;
  const std::int32_t bh = pane.Bottom - pane.Top - 2 * kPictureInset;
  if (bw < 1 || bh < 1 || pictureWidth < 1 || pictureHeight < 1) return std::nullopt;
  std::int32_t w = 0, h = 0;
  if (ShownAtOwnSize(kind)) {
    w = std::min(pictureWidth, bw);
    h = std::min(pictureHeight, bh);
  } else if (static_cast<double>(pictureWidth) * bh > static_cast<double>(pictureHeight) * bw) {
    w = bw;
    h = RoundToInt32(static_cast<double>(pictureHeight) * bw / pictureWidth);
  } else {
    w = RoundToInt32(static_cast<double>(pictureWidth) * bh / pictureHeight);
    h = bh;
  }
  const std::int32_t x = pane.Left + kPictureInset + RoundToInt32((bw - w) / 2.0);
  const std::int32_t y = pane.Top + kPictureInset + RoundToInt32((bh - h) / 2.0);
  return gdi::Rect{x, y, x + w, y + h};
}

void DrawPagePreview(gdi::DeviceContext& dc, const PagePreviewState& state,
                     std::int32_t boxPixels) {
  if (boxPixels < 1) return;
  const BoxScale scale(boxPixels);
  dc.FillRect(gdi::Rect{0, 0, boxPixels, boxPixels}, gdi::CreateSolidBrush(kBoxColour));
  const PreviewPage page =
      ComputePreviewPage(state.Orientation, 0, 0, kPreviewBoxUnits, kPreviewBoxUnits);

  const int saved = dc.SaveDC();
  dc.SelectPen(gdi::StockPen(gdi::BLACK_PEN));
  dc.SelectBrush(gdi::StockBrush(gdi::WHITE_BRUSH));
  const PaneRect& sheet = page.Sheet;
  // The outline runs through the sheet's corner points.
  dc.Rectangle(scale.Pixels(sheet.Left), scale.Pixels(sheet.Top), scale.Pixels(sheet.Right) + 1,
               scale.Pixels(sheet.Bottom) + 1);
  const PaneRect& a = page.Area;
  if (state.DrawGrid) {
    Line(dc, scale, {a.Left, a.Top}, {a.Right, a.Top});
    Line(dc, scale, {a.Right, a.Top}, {a.Right, a.Bottom});
    Line(dc, scale, {a.Right, a.Bottom}, {a.Left, a.Bottom});
    Line(dc, scale, {a.Left, a.Bottom}, {a.Left, a.Top});
  }
  const PaneLayout layout = PreviewPaneLayout(page, state.Panes);
  for (std::size_t i = 0; i < layout.Panes.size(); ++i)
    DrawPaneThumbnails(dc, scale, state.Kinds[i + 1], layout.Panes[i]);
  if (state.DrawGrid) {
    for (const PaneSeparator& line : layout.Separators) Line(dc, scale, line.From, line.To);
  }
  dc.RestoreDC(saved);
}

}  // namespace orvale
