#pragma once
// One aperture and one obstruction outline kept in the settings section "Toolbox", so
// that the same pupil can be put on the next interferogram. Keys are the outline's
// name ("Aperture" or "Obstruction") followed by " Save Type", " RadiusX", " RadiusY",
// " CenterX", " CenterY", " Angle", " Vertices", and " VertexX n" / " VertexY n" for
// the n-th polygon vertex.
#include <string_view>

namespace orvale {

class clsShape;

inline constexpr std::string_view kToolboxSection = "Toolbox";

// Writes the outline of `shape` under `name`; vertex keys of an older, longer polygon
// stay behind (the stored count decides how many are read).
void SaveToolboxShape(const clsShape& shape, std::string_view name);

// Gives `shape` the outline stored under `name`. False, with the shape unchanged, when
// none is stored (type 0) or the stored one is unusable: a value beyond the double
// range, or a polygon of fewer than 3 vertices.
bool LoadToolboxShape(clsShape& shape, std::string_view name);

}  // namespace orvale
