#pragma once
// Fixture of the document-file suites: a scratch folder, scripted messages and
// dialogs, settings with the program's defaults, an open-document table, a recent-file
// list, and the file commands installed as the documents' save service.
#include <cstdint>
#include <string>
#include <vector>

#include "DocumentModelTestSupport.h"
#include "DocumentTestSupport.h"
#include "app/document/DocumentSaveService.h"
#include "app/document/DocumentTable.h"
#include "app/document/DocumentTextFile.h"
#include "app/document/RecentFileList.h"
#include "app/document/SaveCommands.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/ui/FileDialogService.h"

namespace orvale::testing {

// A grey ramp of `width` x `height` pixels, rows from the top.
std::vector<std::uint8_t> Ramp(std::int32_t width, std::int32_t height);

// The lines of a CR LF text; fails the test when a line ends otherwise.
std::vector<std::string> CrLfLines(const std::string& text);

class DocumentFilesTest : public ScratchFolderTest {
 protected:
  // A new document in the table with a ramp image of the given size.
  clsDocument& NewImageDocument(std::int32_t width = 64, std::int32_t height = 48);
  // A new, empty document that reads `text` as a document file.
  clsDocument& ReadDocument(const std::string& text,
                            DocumentReadStatus expected = DocumentReadStatus::Complete);
  // OpenFiles with these paths.
  void Open(const std::vector<std::string>& paths, bool quiet = false);
  // The document opened last (the highest slot in use), or null.
  clsDocument* Newest() const;
  // Slots, count and each document's slot number agree; every open document holds an
  // image of its size or a blank image with a usable size.
  void ExpectTableConsistent() const;
  std::string File(const std::string& name) const { return Path(name).string(); }
  std::vector<std::string> RecentPaths() const;

  MemorySettingsStore store_;
  ScopedSettingsStore installedStore_{store_};
  GeneralSettings settings_ = DefaultDocumentSettings();
  DocumentTable table_{settings_};
  MemoryRecentFileMenu menu_;
  RecentFileList recent_{menu_};
  ScriptedFileDialogService dialogs_;
  ScopedFileDialogService installedDialogs_{dialogs_};
  ScopedDocumentSaveService installedSaver_{FileSaveCommands()};
};

}  // namespace orvale::testing
