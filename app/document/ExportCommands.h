#pragma once
// Exporting a document's analysis: the wavefront map as ".csv" and the Zernike
// coefficients as ".zrn". Both refuse to run, with a message, while the document has
// no valid analysis.
#include <string>

namespace orvale {

class clsDocument;

// The message of an export without a valid analysis.
inline constexpr const char* kNoAnalysisToExport =
    "There is no valid analysis to export. Analyze the interferogram first.";

// Writes the 100 x 100 wavefront map to `FileName`, or, when it is empty, to a file
// chosen in the save dialog (asking before an existing file is replaced). True when
// the file was written.
bool ExportSurfaceMap(clsDocument& doc, const std::string& FileName);

// Writes the 36 coefficients to a file chosen in the save dialog. True when written.
bool ExportZernikes(clsDocument& doc);

}  // namespace orvale
