#pragma once
// What every document window does when it is activated, before the main window adapts
// its menus: its document becomes the active one and, with an individual set of result
// windows per document, that document's window places become the program-wide layout.
namespace orvale {

class clsDocument;
class DocumentTable;

// Makes `doc` the table's active document. When the document has result windows and
// "Hog Windows" is off, the place of each of its seven result windows (pixels in the
// main window's area) replaces that kind's record of the table's ResultWindowLayout;
// a minimised or maximised window keeps the old record, so that the next document's
// windows never open icon-sized or filling the area. Hidden windows in the normal
// state are still taken. Last, the grid-analysis window refreshes its fields.
void StoreWindowLayout(DocumentTable& table, clsDocument& doc);

}  // namespace orvale
