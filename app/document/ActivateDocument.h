#pragma once
// What happens when a document becomes the active one, whoever makes it so: the user
// activating one of its windows, or an automation call working on it.
namespace orvale {

class clsDocument;
class MainFrame;

// Makes `doc` the active document of its table: an outline half drawn in the
// previously active document ends; with "Hog Windows" the previous document's result
// windows give their places to the shared layout and hide, and `doc`'s take the layout
// and show without being activated; the image is repainted; then the main window
// stores the layout and takes `doc` as active (MainFrame::StoreWindowLayout).
void ActivateDocument(MainFrame& frame, clsDocument& doc);

}  // namespace orvale
