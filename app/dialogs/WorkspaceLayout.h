#pragma once
// What a change of the workspace rule ("Hog Windows") does at once to the open
// documents' result windows.
#include "app/document/ImageWindowSize.h"

namespace orvale {

class DocumentTable;

// After "Hog Windows" has changed, with a document open and active:
// - common set now (on): the active document's shown result windows (or those of the
//   first other document, in slot order, that has result windows) give the program-wide
//   layout; every other document's windows are hidden and placed at that layout;
// - individual sets now (off): the k-th other document in slot order shows its windows
//   moved by k times one window frame across and one frame plus caption down; then the
//   active document's image view comes up, and its result windows above it, without
//   taking the activation from the window that has it.
// Nothing is ever made to stay on top.
void RearrangeForWorkspace(DocumentTable& table, const WindowFrameMetrics& metrics);

}  // namespace orvale
