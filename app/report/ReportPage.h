#pragma once
// The test report's one page: the centred title, then the panes of the report settings
// (each view prints itself into its pane through the document's print hook), the logo
// with the document's comments, and the frame and separator lines. It draws on any
// device context (a printer page, a PDF page, an image, a recording) and reads the
// document's report settings.
#include <cstdint>
#include <filesystem>

#include "app/report/ReportGeometry.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

class clsDocument;

inline constexpr const char* kReportTitle = "Orvale Test Report";
// The logo the Logo pane prints, in the program's folder.
inline constexpr const char* kLogoFileName = "Logo.bmp";

// Draws the title in Times New Roman 14 pt centred on CenterX with its top at Top and
// returns its bottom; Top unchanged, and nothing drawn, when the font has no height.
std::int32_t DrawReportHeader(gdi::DeviceContext& dc, std::int32_t CenterX, std::int32_t Top);

// Draws pane PaneNumber (1..6) of the report settings into `pane`: a result kind only
// when the document has output views, the interferogram always, each inset by Margin;
// the Logo pane through DrawCommentsPane. A pane number outside 1..6, a kind outside
// 1..9 or an inset rectangle with nothing inside draws nothing.
void DrawReportPane(const clsDocument& doc, gdi::DeviceContext& dc, std::int32_t PaneNumber,
                    const PaneRect& pane, std::int32_t Margin,
                    const std::filesystem::path& logoFolder);

// The Logo pane: "Comments: " and the document's comments word-wrapped in the lower
// half in the printer text style (when "Show Comments" is on; nothing at all when that
// font has no height), and Logo.bmp from `logoFolder` fitted into the upper half. A
// logo that cannot be loaded is reported ("Could not load file " + path) and left out;
// one that would have no size in its box is left out.
void DrawCommentsPane(const clsDocument& doc, gdi::DeviceContext& dc, std::int32_t PaneNumber,
                      const PaneRect& pane, std::int32_t Margin,
                      const std::filesystem::path& logoFolder);

// The whole page on `dc`, laid out for its caps.
void DrawReportPage(gdi::DeviceContext& dc, const clsDocument& doc,
                    const std::filesystem::path& logoFolder);

}  // namespace orvale
