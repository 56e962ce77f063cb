#pragma once
// Opening files into new documents: pictures ("jpg", "bmp", "rle") become image
// documents, document files ("ovd") are read with their companion bitmap.
#include <span>
#include <string>
#include <string_view>

namespace orvale {

class clsDocument;
class DocumentTable;
class RecentFileList;

// True for the types the file commands open, by the extension in any case: "jpg",
// "bmp" and "rle" pictures and "ovd" documents.
bool IsOpenableFile(std::string_view path);

// Opens one file into a new document, as OpenFiles does for each of its files, without
// touching the recent-file list. The new document, or null when the file was not
// opened (reported as OpenFiles reports it; no half-made document is left open).
clsDocument* OpenOneFile(DocumentTable& table, const std::string& path, bool Quiet);

// Opens each file in turn. A file opened goes first in the recent-file list; one that
// is missing, of an unknown type or cannot be read is taken out of it. A document that
// could not be completed is closed again without asking, and the call ends there.
// `Quiet` suppresses "Could not find file " and "Could not open file "; the picture
// loader's own messages are shown in any case.
void OpenFiles(DocumentTable& table, RecentFileList& recent, std::span<const std::string> FileNames,
               bool Quiet);

}  // namespace orvale
