#include "app/dialogs/ViewProperties.h"

#include <cmath>

#include "app/document/DocumentHost.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// Beyond these the plots take a Z value for a missing point.
constexpr double kLargestZ = 3e38;

TextStyleSettings StyleOf(const clsDocument& doc, bool screen) {
  std::string caption;
  TextStyleSettings style;
  std::int32_t escapement = 0;
  doc.GetText(screen, caption, style.Color, style.Size, escapement, style.Bold, style.Italic,
              style.Underline, style.FaceName);
  return style;
}

// The style replaces the document's, drawn horizontally; the caption stays.
void GiveStyle(clsDocument& doc, bool screen, const TextStyleSettings& style) {
  const std::string caption = (screen ? doc.ScreenTextStyle() : doc.PrinterTextStyle()).Caption;
  doc.SetText(screen, caption, style.Color, style.Size, kTextHorizontal, style.Bold, style.Italic,
              style.Underline, style.FaceName);
}

}  // namespace

PlotCheckStates ComputePlotCheckStates(bool autoScale, bool limitScale, bool fillPolygons) {
  PlotCheckStates states;
  states.LimitScaleEnabled = autoScale;
  states.LimitScaleChecked = autoScale && limitScale;
  states.ZRangeEnabled = !autoScale;
  states.DrawMeshEnabled = fillPolygons;
  return states;
}

clsDocument* PropertiesDocument(const DocumentTable& table) {
  clsDocument* doc = table.ActiveDocument();
  return doc != nullptr && doc->OutputViewsExist ? doc : nullptr;
}

ViewPropertiesControls ReadViewProperties(const clsDocument& doc) {
  ViewPropertiesControls c;
  c.ContourLevels = doc.ContourLevels;
  c.GridSize = doc.xSurfaceSize;
  c.FillPolygons = doc.FillPolygons;
  c.DrawBlackMesh = doc.DrawMeshWithFill;
  c.LinePoints = doc.ProfileSize;
  c.ImageSize = doc.xOrigSurfaceSize;
  c.AutoScale = doc.AutoScaleZ;
  c.ZMinText = FormatGeneral(doc.zmin);
  c.ZMaxText = FormatGeneral(doc.zmax);
  c.LimitScale = ComputePlotCheckStates(doc.AutoScaleZ, doc.LimitDisplayScale, doc.FillPolygons)
                     .LimitScaleChecked;
  c.Text.Screen = StyleOf(doc, true);
  c.Text.Printer = StyleOf(doc, false);
  return c;
}

bool ReadZRange(const std::string& minText, const std::string& maxText, double& zmin,
                double& zmax) {
  double low = 0.0;
  double high = 0.0;
  // "1e999" converts to infinity, which the bounds refuse.
  if (!TryConvertNumber(minText, low) || !TryConvertNumber(maxText, high)) return false;
  if (!(low < high && low > -kLargestZ && high < kLargestZ)) return false;
  zmin = low;
  zmax = high;
  return true;
}

bool ApplyViewProperties(clsDocument& doc, const ViewPropertiesControls& c, WindowHandle owner) {
  if (!c.AutoScale) {
    double zmin = 0.0;
    double zmax = 0.0;
    if (!ReadZRange(c.ZMinText, c.ZMaxText, zmin, zmax)) {
      ShowMessage(std::string(kInvalidZRangeMessage), mb::kOk | mb::kIconExclamation, "Orvale",
                  owner);
      return false;
    }
    doc.zmin = zmin;
    doc.zmax = zmax;
  }
  doc.AutoScaleZ = c.AutoScale;
  if (c.Text.ScreenChanged) GiveStyle(doc, true, c.Text.Screen);
  if (c.Text.PrinterChanged) GiveStyle(doc, false, c.Text.Printer);
  // The boxes hold the ranges already; a model filled elsewhere is held to them too.
  doc.ContourLevels = WholeSettingRange(kContourLevelsKey).Clamp(c.ContourLevels);
  doc.xSurfaceSize = doc.ySurfaceSize = WholeSettingRange(kGridSizeKey).Clamp(c.GridSize);
  doc.ProfileSize = WholeSettingRange(kLinePointsKey).Clamp(c.LinePoints);
  doc.xOrigSurfaceSize = doc.yOrigSurfaceSize = WholeSettingRange(kImageSizeKey).Clamp(c.ImageSize);
  doc.LimitDisplayScale = ComputePlotCheckStates(c.AutoScale, c.LimitScale, c.FillPolygons)
                              .LimitScaleChecked;
  doc.FillPolygons = c.FillPolygons;
  if (c.FillPolygons) doc.DrawMeshWithFill = c.DrawBlackMesh;

  // Never with the program-wide plot settings: they would overwrite what was just
  // stored. A fit that is not current is made again, as Apply would.
  const BusyPointer busy(doc.Host());
  doc.UpdateAnalysis(false, false);
  doc.OutputViews_Refresh();
  return true;
}

}  // namespace orvale
