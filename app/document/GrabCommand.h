#pragma once
// The grab command, one routine for the menu, the toolbar and automation: a frame from
// the selected grabber into the active document, or into a new document made for it.
#include <cstdint>
#include <functional>

namespace orvale {

class clsDocument;
class DocumentTable;

// Grabs a frame from the selected grabber into a document's image; true when it did.
// A failed grab leaves the document as it was.
using DocumentGrab = std::function<bool(clsDocument&)>;

// A frame into `doc`, which stays open and unchanged when the grab fails. True when the
// frame replaced its image (the image is then marked changed and redrawn).
bool GrabIntoDocument(clsDocument& doc, const DocumentGrab& grab);

// Without `intoNewWindow` and with an active document, the frame replaces that
// document's image (GrabIntoDocument). Otherwise a new document is
// made, named "Image<n>" with the next `imageCounter`, and shown; a failure closes it
// without asking. Returns the document holding the frame, or null.
clsDocument* GrabImage(DocumentTable& table, std::int32_t& imageCounter, bool intoNewWindow,
                       const DocumentGrab& grab);

}  // namespace orvale
