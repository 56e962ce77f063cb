#pragma once
// The steps every command that has just given a document its result windows ends
// with: Apply for a first analysis, and the averaged and combined documents.
namespace orvale {

class clsDocument;
class MainFrame;

// Shows the document's result windows as the program-wide visibility says now (the
// user may have shown or hidden some since start-up), brings the main window's menus
// and toolbar in line and enters the document in the averaging and math lists.
void ShowNewOutputViews(clsDocument& doc, MainFrame& frame);

}  // namespace orvale
