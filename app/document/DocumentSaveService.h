#pragma once
// The file commands a document's save-changes prompt hands its saving to. The file
// layer provides them (SaveFile and SaveFileAs); the program installs that service at
// start-up and tests install fakes. Without one, every save reports failure, so a
// close that wanted to save is cancelled rather than losing work.
#include <string>

namespace orvale {

class clsDocument;

class DocumentSaveService {
 public:
  virtual ~DocumentSaveService() = default;
  // Saves `doc` into FileName by its extension. True only when everything was written.
  virtual bool SaveFile(const std::string& FileName, clsDocument& doc) = 0;
  // Asks for a name and saves; AsBitmap proposes the bitmap type. True only when a file
  // was chosen and written (False when the user cancelled or a write failed).
  virtual bool SaveFileAs(clsDocument& doc, bool AsBitmap) = 0;
};

// Installs `service` for the whole program (nullptr: none). The caller keeps ownership.
void SetDocumentSaveService(DocumentSaveService* service);
// The installed service, or nullptr.
DocumentSaveService* CurrentDocumentSaveService();

// Installs a service for the lifetime of a scope and restores the previous one.
class ScopedDocumentSaveService {
 public:
  explicit ScopedDocumentSaveService(DocumentSaveService& service);
  ~ScopedDocumentSaveService();
  ScopedDocumentSaveService(const ScopedDocumentSaveService&) = delete;
  ScopedDocumentSaveService& operator=(const ScopedDocumentSaveService&) = delete;

 private:
  DocumentSaveService* previous_;
};

}  // namespace orvale
