// The wrapped document: its handle, and the members that make, save and export it.
#include "app/automation/OrvaleDoc.h"

#include <filesystem>

#include "app/automation/OrvaleDocTypes.h"
#include "app/document/ExportCommands.h"
#include "app/document/FilePaths.h"
#include "app/document/OpenFiles.h"
#include "app/document/SaveCommands.h"
#include "app/document/clsDocument.h"
#include "platform/com/GrabberState.h"

namespace orvale {

namespace {

// The server's working folder means nothing to its clients: a relative path would
// land wherever the program happened to start.
void RequireFullPath(const std::string& path) {
  if (!std::filesystem::path(path).is_absolute())
    RaiseOrvaleDocError(ErrorInvalidPath, "A full path must be supplied.");
}

}  // namespace

clsDocument* OrvaleDoc::Document() {
  if (!doc_) return nullptr;
  clsDocument* doc = context_.Documents.Find(*doc_);
  if (doc == nullptr) doc_.reset();  // closed: the object has no document any more
  return doc;
}

clsDocument& OrvaleDoc::RequireDocument(const char* noDocumentText) {
  clsDocument* doc = Document();
  if (doc == nullptr) RaiseOrvaleDocError(ErrorNoDocument, noDocumentText);
  return *doc;
}

void OrvaleDoc::Wrap(clsDocument& doc) { doc_ = context_.Documents.RefOf(doc); }

bool OrvaleDoc::Load(const std::string& FilePath) {
  RequireFullPath(FilePath);
  // Exactly this file: no pattern. Something there that is no file (a folder, a FIFO)
  // is refused by the opener with its reason.
  if (!FileExists(FilePath) && !ThereButNoFile(FilePath))
    RaiseOrvaleDocError(ErrorInvalidPath, "Specified file does not exist.");
  if (!IsOpenableFile(FilePath)) return false;
  // The previous document stays wrapped when this one cannot be opened.
  clsDocument* doc = OpenOneFile(context_.Documents, FilePath, false);
  if (doc == nullptr) return false;
  Wrap(*doc);
  return true;
}

bool OrvaleDoc::Grab() {
  if (context_.Grabber.Grabber == nullptr) {
    RaiseOrvaleDocError(ErrorNoGrabber,
                        "Failed to grab image because no frame grabber card is currently selected.");
  }
  // A failed grab leaves a wrapped document as it was, and closes a new one again.
  if (clsDocument* doc = Document()) return GrabIntoDocument(*doc, context_.Grab);
  clsDocument* made = GrabImage(context_.Documents, context_.ImageCounter, true, context_.Grab);
  if (made == nullptr) return false;
  Wrap(*made);
  return true;
}

bool OrvaleDoc::Save(const AutoValue& FilePath) {
  clsDocument* doc = Document();
  if (doc == nullptr) return false;
  std::string path;
  if (IsMissing(FilePath)) {
    if (doc->DocumentFileName.empty() || doc->DocumentFilePath.empty()) {
      RaiseOrvaleDocError(ErrorInvalidPath,
                          "Unless a document has already been saved, a path must be supplied.");
    }
    path = JoinFilePath(doc->DocumentFilePath, doc->DocumentFileName);
  } else if (const std::string* text = TextValue(FilePath)) {
    path = *text;
  } else {
    RaiseOrvaleDocError(ErrorInvalidType, "'Save' must be passed a file path in the form of a string.");
  }
  RequireFullPath(path);
  const std::string base = JoinFilePath(GetFilePath(path), GetFileTitle(path, true));
  if (!FileExists(base + ".bmp") || !FileExists(base + ".rle") || !FileExists(base + ".jpg"))
    doc->BMPDirty = true;
  return SaveFile(path, *doc);
}

bool OrvaleDoc::ExportMap(const AutoValue& FilePath) {
  clsDocument* doc = Document();
  if (doc == nullptr) return false;
  const std::string* path = TextValue(FilePath);
  if (path == nullptr && !IsMissing(FilePath))
    RaiseOrvaleDocError(ErrorInvalidPath, "A full path must be supplied.");
  // No path: the export asks for one, and automation's dialogs are cancelled.
  if (path == nullptr || path->empty()) return ExportSurfaceMap(*doc, {});
  RequireFullPath(*path);
  return ExportSurfaceMap(*doc, *path);
}

}  // namespace orvale
