#include "app/document/DocumentSaveService.h"

namespace orvale {

namespace {
DocumentSaveService* installedService = nullptr;
}  // namespace

void SetDocumentSaveService(DocumentSaveService* service) { installedService = service; }

DocumentSaveService* CurrentDocumentSaveService() { return installedService; }

ScopedDocumentSaveService::ScopedDocumentSaveService(DocumentSaveService& service)
    : previous_(installedService) {
  installedService = &service;
}

ScopedDocumentSaveService::~ScopedDocumentSaveService() { installedService = previous_; }

}  // namespace orvale
