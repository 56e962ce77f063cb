#pragma once
// The main window's toolbar, addressed by the 1-based button index that the click
// dispatch and the state rules use.
#include <array>
#include <string_view>

#include <cstdint>

namespace orvale {

inline constexpr int kToolBarButtonCount = 33;  // buttons 1..33

enum class ButtonStyle { Plain, Check, Group, Separator, Placeholder };

struct ToolBarButtonSpec {
  std::string_view Key;
  ButtonStyle Style;
  std::string_view ToolTip;
  std::string_view Image;  // the picture's key; empty for separators and the placeholder
};

// Buttons 7..12 mirror the check marks of their View items, like 14..20, so they are
// toggles too; a click still runs the View command, which re-syncs the button.
inline constexpr std::array<ToolBarButtonSpec, kToolBarButtonCount + 1> kToolBarButtons = {{
    {},  // element 0 unused
    {"", ButtonStyle::Separator, "", ""},
    {"Open", ButtonStyle::Plain, "Open", "imgOpen"},
    {"Save", ButtonStyle::Plain, "Save", "imgSave"},
    {"Print", ButtonStyle::Plain, "Print", "imgPrint"},
    {"PageSetup", ButtonStyle::Plain, "Page Setup", "imgPreview"},
    {"", ButtonStyle::Separator, "", ""},
    {"ToolBox", ButtonStyle::Check, "Show Toolbox", "imgToolBox"},
    {"AnalyzeBox", ButtonStyle::Check, "Show Analyze", "imgAnalyze"},
    {"AverageBox", ButtonStyle::Check, "Show Average", "imgAverage"},
    {"GridAnalyzeBox", ButtonStyle::Check, "Grid Analyze Window", "imgGridAnalyzeWin"},
    {"ReferenceZernikes", ButtonStyle::Check, "Reference Zernikes", "imgRefZernike"},
    {"", ButtonStyle::Check, "Mathematical Operations", "imgMathOps"},
    {"", ButtonStyle::Separator, "", ""},
    {"3Dplot", ButtonStyle::Check, "Show Surface Plot", "img3DPlot"},
    {"Contour", ButtonStyle::Check, "Show Contour Plot", "imgContour8"},
    {"Line", ButtonStyle::Check, "Show Line Profile", "imgLine"},
    {"Synthetic", ButtonStyle::Check, "Show Synthetic Fringes", "imgSynthetic"},
    {"RMS", ButtonStyle::Check, "Show Aberrations", "imgLambda"},
    {"Zernikes", ButtonStyle::Check, "Show Zernikes", "imgZernikes"},
    {"Grid Results", ButtonStyle::Check, "Show Grid Results", "imgGridResults"},
    {"", ButtonStyle::Separator, "", ""},
    {"Grab", ButtonStyle::Plain, "Grab Image", "imgGrab"},
    {"Grabber Properties", ButtonStyle::Plain, "Grabber Properties", "imgGrabProps"},
    {"Adjust Aspect", ButtonStyle::Plain, "Adjust Aspect", "imgAspect"},
    {"TraceH", ButtonStyle::Plain, "Trace Horizontally", "imgTraceH"},
    {"TraceV", ButtonStyle::Plain, "Trace Vertically", "imgTraceV"},
    {"", ButtonStyle::Separator, "", ""},
    {"HandTool", ButtonStyle::Group, "Hand Tool", "imgHandTool"},
    {"EditTool", ButtonStyle::Group, "Edit Tool", "imgArrowTool"},
    {"", ButtonStyle::Separator, "", ""},
    {"ZoomIn", ButtonStyle::Plain, "Zoom In", "imgZoomIn"},
    {"ZoomOut", ButtonStyle::Plain, "Zoom Out", "imgZoomOut"},
    {"SetZoom", ButtonStyle::Placeholder, "Zoom Level", ""},
}};

// Button indexes the frame addresses by name.
namespace toolbutton {
inline constexpr int kOpen = 2;
inline constexpr int kSave = 3;
inline constexpr int kPrint = 4;
inline constexpr int kPageSetup = 5;
inline constexpr int kFirstToolWindow = 7;  // 7..12 in ToolWindowKind order
inline constexpr int kFirstOutputView = 14;  // 14..20 in result-window order
inline constexpr int kGrab = 22;
inline constexpr int kGrabberProps = 23;
inline constexpr int kAdjustAspect = 24;
inline constexpr int kTraceH = 25;
inline constexpr int kTraceV = 26;
inline constexpr int kHandTool = 28;
inline constexpr int kEditTool = 29;
inline constexpr int kZoomIn = 31;
inline constexpr int kZoomOut = 32;
inline constexpr int kSetZoom = 33;
}  // namespace toolbutton

// The zoom list: percentages, largest magnification first; "100%" is the fallback.
inline constexpr std::array<int, 10> kZoomPercents = {1600, 800, 400, 300, 200, 150, 100, 75, 50, 25};
inline constexpr int kZoomFallbackIndex = 6;

// The index of the first entry showing `percent`, or the fallback when none does.
constexpr int ZoomIndexOf(std::int32_t percent) {
  for (std::size_t i = 0; i < kZoomPercents.size(); ++i)
    if (kZoomPercents[i] == percent) return static_cast<int>(i);
  return kZoomFallbackIndex;
}

}  // namespace orvale
