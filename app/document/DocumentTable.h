#pragma once
// The open documents of the program: 100 slots, the number in use and the active one.
// A document's slot number is its identity for the views and the dialogs' lists; a
// DocumentRef also carries the document's serial, so that a holder that outlives the
// document (an automation client) can never reach a later document in the same slot.
#include <array>
#include <cstdint>
#include <memory>

namespace orvale {

class clsDocument;
class DocumentHost;
struct GeneralSettings;

// A handle on one document: its slot and the serial the table gave it when it was put
// there. Serials are never reused in a run, so a stale handle finds nothing.
struct DocumentRef {
  std::int32_t Slot = 0;
  std::uint64_t Serial = 0;
  bool operator==(const DocumentRef&) const = default;
};

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
  // The handle of an open document of this table (a zero handle for any other).
  DocumentRef RefOf(const clsDocument& doc) const;
  // The document `ref` was made for, or null once it has been closed.
  clsDocument* Find(const DocumentRef& ref) const;
  GeneralSettings& Settings() const { return *settings_; }
  DocumentHost& Host() const { return *host_; }

 private:
  GeneralSettings* settings_;
  DocumentHost* host_;
  std::array<std::uint64_t, kMaxDocuments + 1> serials_{};  // 0: slot free
  std::uint64_t lastSerial_ = 0;
};

}  // namespace orvale
