#include "app/report/ReportPage.h"

#include <QImage>
#include <span>
#include <string>
#include <vector>

#include "app/pictures/PictureFileBytes.h"
#include "app/document/FontSpec.h"
#include "app/pictures/PictureDecoding.h"
#include "app/document/clsDocument.h"
#include "app/report/ReportPaneKinds.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/RasterOps.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

constexpr std::size_t kShowComments = 15;

FontSpec TitleStyle() {
  FontSpec style;
  style.Size = 14;
  style.Escapement = kTextHorizontal;
  style.facename = FixedFaceName("Times New Roman");
  return style;
}

// Selects the font of `style` with a transparent background, top-left alignment and
// the style's colour; false when the font has no height.
bool SelectTextStyle(gdi::DeviceContext& dc, const FontSpec& style) {
  gdi::LogFont font;
  FontSpecToLogFont(dc, style, font);
  dc.SelectFont(font);
  gdi::TextMetrics metrics;
  if (!dc.GetTextMetrics(metrics) || metrics.tmHeight <= 0) return false;
  dc.SetBkMode(gdi::TRANSPARENT);
  dc.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
  dc.SetTextColor(style.colour);
  return true;
}

// The picture, or a null image when the file cannot be read or is no sound picture.
QImage LoadLogo(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes;
  RunError error;
  QImage picture;
  if (!ReadPictureFileBytes(path, bytes, error) ||
      DecodePicture(bytes, picture) != PictureDecodeStatus::Decoded) {
    return {};
  }
  return picture;
}

// The frame and separator lines are drawn in the black stock pen; the pen before is
// selected back after each group.
void DrawFrame(gdi::DeviceContext& dc, std::int32_t L, std::int32_t T, std::int32_t R,
               std::int32_t B) {
  const gdi::Pen before = dc.SelectPen(gdi::StockPen(gdi::BLACK_PEN));
  dc.MoveTo(L, T);
  dc.LineTo(R, T);
  dc.LineTo(R, B);
  dc.LineTo(L, B);
  dc.LineTo(L, T);
  dc.SelectPen(before);
}

void DrawSeparators(gdi::DeviceContext& dc, std::span<const PaneSeparator> lines) {
  if (lines.empty()) return;
  const gdi::Pen before = dc.SelectPen(gdi::StockPen(gdi::BLACK_PEN));
  for (const PaneSeparator& line : lines) {
    dc.MoveTo(line.From.x, line.From.y);
    dc.LineTo(line.To.x, line.To.y);
  }
  dc.SelectPen(before);
}

}  // namespace

std::int32_t DrawReportHeader(gdi::DeviceContext& dc, std::int32_t CenterX, std::int32_t Top) {
  const int saved = dc.SaveDC();
  std::int32_t bottom = Top;
  if (SelectTextStyle(dc, TitleStyle())) {
    gdi::Size size;
    dc.GetTextExtentPoint32(kReportTitle, size);
    dc.TextOut(RoundToInt32(CenterX - size.cx / 2.0), Top, kReportTitle);
    bottom = Top + size.cy;
  }
  dc.RestoreDC(saved);
  return bottom;
}

void DrawReportPane(const clsDocument& doc, gdi::DeviceContext& dc, std::int32_t PaneNumber,
                    const PaneRect& pane, std::int32_t Margin,
                    const std::filesystem::path& logoFolder) {
  if (PaneNumber < 1 || PaneNumber > kMaxReportPanes) return;
  const std::int32_t kind = doc.Settings().ReportPanes[static_cast<std::size_t>(PaneNumber)];
  if (kind == panekind::kLogo) {
    DrawCommentsPane(doc, dc, PaneNumber, pane, Margin, logoFolder);
    return;
  }
  const std::int32_t view = PaneViewCode(kind);
  if (view == 0 || (PaneNeedsResults(kind) && !doc.OutputViewsExist)) return;
  const PaneRect inset{pane.Left + Margin, pane.Top + Margin, pane.Right - Margin,
                       pane.Bottom - Margin};
  if (inset.Right < inset.Left || inset.Bottom < inset.Top) return;
  doc.Views().PrintView(view, dc, inset.Left, inset.Top, inset.Right, inset.Bottom);
}

void DrawCommentsPane(const clsDocument& doc, gdi::DeviceContext& dc, std::int32_t /*PaneNumber*/,
                      const PaneRect& pane, std::int32_t Margin,
                      const std::filesystem::path& logoFolder) {
  const std::int32_t half = RoundToInt32((pane.Bottom - pane.Top) / 2.0);
  if (doc.Settings().ReportShowFlags[kShowComments]) {
    const int saved = dc.SaveDC();
    const bool hasFont = SelectTextStyle(dc, doc.PrinterTextStyle());
    if (hasFont) {
      dc.DrawText("Comments: " + doc.OpticComments,
                  gdi::Rect{pane.Left + Margin, pane.Top + Margin + half, pane.Right - Margin,
                            pane.Bottom - Margin},
                  gdi::DT_WORDBREAK | gdi::DT_NOPREFIX);
    }
    dc.RestoreDC(saved);
    if (!hasFont) return;
  }

  const std::filesystem::path path = logoFolder / kLogoFileName;
  const QImage logo = LoadLogo(path);
  if (logo.isNull()) {
    ShowMessage("Could not load file " + path.string(), mb::kOk, "Orvale");
    return;
  }
  const PaneRect box{pane.Left + Margin, pane.Top + Margin, pane.Right - Margin, pane.Top + half};
  const std::optional<gdi::Rect> place = PlaceLogo(box, logo.width(), logo.height());
  if (!place) return;
  const gdi::ImageDeviceContext picture(logo);
  const int mode = dc.SetStretchBltMode(gdi::HALFTONE);
  dc.StretchBlt(place->left, place->top, place->Width(), place->Height(), picture, 0, 0,
                logo.width(), logo.height(), gdi::SRCCOPY);
  dc.SetStretchBltMode(mode);
}

void DrawReportPage(gdi::DeviceContext& dc, const clsDocument& doc,
                    const std::filesystem::path& logoFolder) {
  const GeneralSettings& settings = doc.Settings();
  const ReportGeometry g = ComputeReportGeometry(dc.Caps());
  const std::int32_t L = g.Left, R = g.Right, B = g.Bottom;
  const std::int32_t T = DrawReportHeader(dc, g.TitleCenterX, g.TitleTop) + g.Margin;
  if (settings.ReportDrawGrid) DrawFrame(dc, L, T, R, B);
  const PaneLayout layout = ComputePaneLayout(settings.ReportNumPanes, L, T, R, B, R - L + 1, B - T + 1);
  for (std::size_t i = 0; i < layout.Panes.size(); ++i) {
    // Whatever a view leaves selected or clipped stays in its pane.
    const int saved = dc.SaveDC();
    DrawReportPane(doc, dc, static_cast<std::int32_t>(i + 1), layout.Panes[i], g.Margin, logoFolder);
    dc.RestoreDC(saved);
  }
  if (settings.ReportDrawGrid) DrawSeparators(dc, layout.Separators);
}

}  // namespace orvale
