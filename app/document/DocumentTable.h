#pragma once
// The open documents of the program: 100 slots, the number in use and the active one.
// A document's slot number is its identity for the views and the dialogs' lists.
#include <array>
#include <cstdint>
#include <memory>

namespace orvale {

class clsDocument;
class DocumentHost;
struct GeneralSettings;

class DocumentTable {
 public:
  static constexpr std::int32_t kMaxDocuments = 100;

  // New documents copy their defaults from `settings` and reach the main window
  // through `host` (HeadlessDocumentHost() when null); both must outlive the table.
  explicit DocumentTable(GeneralSettings& settings, DocumentHost* host = nullptr);
  ~DocumentTable();
  DocumentTable(const DocumentTable&) = delete;
  DocumentTable& operator=(const DocumentTable&) = delete;

  // Slots 1..100; slot 0 is never used, so an active index of 0 reads "not in use".
  std::array<std::unique_ptr<clsDocument>, kMaxDocuments + 1> Documents;
  std::array<bool, kMaxDocuments + 1> DocumentInUse{};
  std::int32_t NumDocuments = 0;
  std::int32_t ActiveDocIndex = 0;  // 0: none

  // Creates a document in the first free slot. False and `doc` null when every slot is
  // taken ("Too many open documents").
  bool NewDocument(clsDocument*& doc);
  // Puts `doc` into the first free slot (the table takes it). When none is free the
  // document is destroyed, the message is shown and the result is False.
  bool RegisterDocument(std::unique_ptr<clsDocument>& doc);
  // Closes `doc`: unless Force, the document first asks whether to save; when the user
  // cancels (or the save on Yes did not happen) Cancel comes back 1 and the document
  // stays open. Otherwise its windows and slot are released and `doc` becomes null.
  void CloseDocument(clsDocument*& doc, bool Force, std::int16_t& Cancel);

  // The active document, or null.
  clsDocument* ActiveDocument() const;
  GeneralSettings& Settings() const { return *settings_; }
  DocumentHost& Host() const { return *host_; }

 private:
  GeneralSettings* settings_;
  DocumentHost* host_;
};

}  // namespace orvale
