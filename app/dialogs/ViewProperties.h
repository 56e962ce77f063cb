#pragma once
// The view properties of one document as plain data: what the "Properties" dialog
// shows and OK stores (plot sizes, surface filling, Z scale, the two text styles), and
// the rules of its check boxes.
#include <cstdint>
#include <string>

#include "app/dialogs/TextStyleChoice.h"
#include "platform/ui/MessageService.h"

namespace orvale {

class clsDocument;
class DocumentTable;

// The number boxes of the properties and the program-wide settings whose ranges they
// take (WholeSettingRange).
inline constexpr std::string_view kContourLevelsKey = "Surface Levels";
inline constexpr std::string_view kGridSizeKey = "Surface Grid Size";
inline constexpr std::string_view kLinePointsKey = "Line Size";
inline constexpr std::string_view kImageSizeKey = "SFringe Size";

// The message of a refused Z range, titled "Orvale".
inline constexpr std::string_view kInvalidZRangeMessage = "Invalid ZMinimum and/or ZMaximum";

struct ViewPropertiesControls {
  std::int32_t ContourLevels = 0;
  std::int32_t GridSize = 0;
  bool FillPolygons = false;
  bool DrawBlackMesh = false;
  std::int32_t LinePoints = 0;
  std::int32_t ImageSize = 0;
  bool AutoScale = true;
  std::string ZMinText;
  std::string ZMaxText;
  bool LimitScale = false;
  // Working copies of the document's two text styles.
  EditedTextStyles Text;
};

// What the check boxes allow.
struct PlotCheckStates {
  bool LimitScaleEnabled = false;
  bool LimitScaleChecked = false;
  bool ZRangeEnabled = false;
  bool DrawMeshEnabled = false;
};

// Auto-scaling frees "Limit Scale" and locks the Z boxes; without it "Limit Scale" is
// cleared and locked and the Z boxes take input. "Draw Black Mesh" goes with "Fill
// Polygons".
PlotCheckStates ComputePlotCheckStates(bool autoScale, bool limitScale, bool fillPolygons);

// The document the dialog works on: the active one when it has output views, else none
// (the dialog does not open).
clsDocument* PropertiesDocument(const DocumentTable& table);

// The document's values as the dialog shows them, with the check rules applied.
ViewPropertiesControls ReadViewProperties(const clsDocument& doc);

// The Z range of the two texts: both must be numbers, zmin < zmax, zmin > -3E+38 and
// zmax < 3E+38. False for anything else.
bool ReadZRange(const std::string& minText, const std::string& maxText, double& zmin,
                double& zmax);

// OK: stores the values in the document, gives it a changed text style, and evaluates
// and repaints its views under the busy pointer. With auto-scaling off a refused Z
// range is reported ("Invalid ZMinimum and/or ZMaximum", titled "Orvale") and nothing
// is stored: false. The message is owned by `owner`.
bool ApplyViewProperties(clsDocument& doc, const ViewPropertiesControls& controls,
                         WindowHandle owner = kMainWindowOwner);

}  // namespace orvale
