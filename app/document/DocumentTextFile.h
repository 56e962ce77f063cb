#pragma once
// The document text file (".ovd"): a keyword file, one item a line, CR LF line ends,
// holding the fit, the fringe, aperture, obstruction and grid sections, the analysis
// and display options, the window placements and the user data of a document. Its
// image is the companion bitmap beside it, which the file commands write and read.
#include <string>

namespace orvale {

class clsDocument;
class LineSource;

// The whole file text of `doc`, in the writer's line order.
std::string DocumentText(const clsDocument& doc);

enum class DocumentReadStatus {
  Complete,         // read to the end of the file
  ViewsNotCreated,  // the file asked for the output views and they could not be made
  SectionRefused,   // a shape or grid section held values that cannot be taken
  ReadFailed,       // a line could not be read (already reported to the user)
};

// Reads a document file into `doc` (a new document). Values out of range take their
// fallbacks and never fail; keys the reader does not know are skipped with their line.
// The image size is taken only when it is positive and not larger than an image may
// be; otherwise it stays unset (kNotGivenLong), and the image is made blank either way:
// the caller loads the companion bitmap afterwards.
DocumentReadStatus ReadDocumentText(clsDocument& doc, LineSource& file);

// True when `doc` has an image size, read from its file or its bitmap.
bool HasValidImageSize(const clsDocument& doc);

}  // namespace orvale
