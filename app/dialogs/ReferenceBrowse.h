#pragma once
// The "Browse Files..." command of the analysis options: picks a reference Zernike
// file and adds it to the reference list.
#include "app/dialogs/AnalyzeControls.h"

namespace orvale {

// Asks for a ".zrn" or ".ovd" file in `BrowseDir`. A file that holds a reference set is
// appended to the list and selected; any other is reported and not added. A cancelled
// dialog changes nothing. True when a file was added.
bool BrowseReferenceFile(AnalyzeControls& controls);

}  // namespace orvale
