#pragma once
// Saving a document: the document text file with its companion bitmap, or the image
// alone as a bitmap, chosen by the extension of the name.
#include <string>

namespace orvale {

class clsDocument;
class DocumentSaveService;

// Saves `doc` into `FileName`: ".ovd" writes the document text file and, when the image
// changed or the folder has no companion bitmap of that name yet, the bitmap beside it;
// ".bmp" writes the image alone. Both files are written whole before either is put in
// place, the bitmap first (WriteFilesWithPrompt). True only when everything was written;
// a failed write leaves the previous files as they were, DocDirty set and the names
// unchanged.
bool SaveFile(const std::string& FileName, clsDocument& doc);

// Asks for a name in the save dialog (the bitmap type proposed with `AsBitmap`) and
// saves. False when the dialog was cancelled, the user declined to replace a file, or
// the save failed.
bool SaveFileAs(clsDocument& doc, bool AsBitmap);

// SaveFile and SaveFileAs as the service that a document's save-changes prompt uses.
DocumentSaveService& FileSaveCommands();

}  // namespace orvale
