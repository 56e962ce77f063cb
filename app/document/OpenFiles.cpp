#include "app/document/OpenFiles.h"

#include <cstdint>
#include <exception>
#include <new>

#include "app/analysis/KeywordSection.h"
#include "app/document/DocumentHost.h"
#include "app/document/DocumentTable.h"
#include "app/document/DocumentTextFile.h"
#include "app/document/FilePaths.h"
#include "app/pictures/PictureBudget.h"
#include "app/document/RecentFileList.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/LineInput.h"
#include "platform/runtime/ReadableFile.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

bool IsDocumentFile(std::string_view path) { return LowerKey(GetFileExtension(path)) == "ovd"; }

// What the opener says of a path it cannot read as a file (a folder, a FIFO, a device).
std::string AccessError(const std::string& path) {
  RunError error;
  ReadableFile::Open(path, &error);
  return error.Description;
}

enum class OpenResult {
  Opened,
  NotOpened,  // reported; go on with the next file
  Failed,     // the new document was closed again; the call ends
  Stopped,    // no document could be made, or its windows failed; the call ends
};

class FileOpener {
 public:
  FileOpener(DocumentTable& table, bool quiet) : table_(table), quiet_(quiet) {}

  OpenResult Open(const std::string& path) {
    opened_ = nullptr;
    if (!FileExists(path)) {
      Report(ThereButNoFile(path) ? AccessError(path) : "Could not find file " + path);
      return OpenResult::NotOpened;
    }
    try {
      if (IsOpenableFile(path)) return IsDocumentFile(path) ? OpenDocument(path) : OpenImage(path);
    } catch (const std::bad_alloc&) {
      Discard();
      ErrorPrompt(RunError::FromNumber(errnum::kOutOfMemory));
      return OpenResult::Failed;
    } catch (const std::exception&) {
      Discard();
      Report("Could not open file " + path);
      return OpenResult::Failed;
    }
    Report("Could not open file " + path);
    return OpenResult::NotOpened;
  }

  // The document of the last Open that succeeded; null after any other result.
  clsDocument* OpenedDocument() const { return opened_; }

 private:
  OpenResult OpenImage(const std::string& path) {
    if (!table_.NewDocument(doc_)) return OpenResult::Stopped;
    if (!doc_->LoadFileIntoDataBuffer(path, false)) return Discard(OpenResult::Failed);
    doc_->DocumentFilePath = GetFilePath(path);
    if (!doc_->CreateView(1)) return Discard(OpenResult::Stopped);
    HideActiveOutputViews();
    doc_->ImageFileExist = true;
    doc_->ImageView_Init();
    const GeneralSettings& settings = table_.Settings();
    if (settings.AutoLoadAperture) table_.Host().LoadAperture(*doc_);
    if (settings.AutoLoadObstruction) table_.Host().LoadObstruction(*doc_);
    doc_->Views().ResizeWindow();
    doc_->Views().ShowImageView();
    return Opened();
  }

  OpenResult OpenDocument(const std::string& path) {
    if (!table_.NewDocument(doc_)) return OpenResult::Stopped;
    if (!doc_->CreateView(1)) return Discard(OpenResult::Stopped);

    std::unique_ptr<FileLineSource> file;
    for (;;) {
      RunError error;
      file = FileLineSource::Open(path, error);
      if (file) break;
      // Without the file there is nothing to read: Ignore ends like Abort.
      if (FileErrorPrompt(error) != idbutton::kRetry) return Discard(OpenResult::Failed);
    }
    doc_->BlankImage = true;
    const DocumentReadStatus status = ReadDocumentText(*doc_, *file);
    file.reset();
    if (status == DocumentReadStatus::ViewsNotCreated) return Discard(OpenResult::Stopped);
    if (status == DocumentReadStatus::ReadFailed) return Discard(OpenResult::Failed);
    if (status != DocumentReadStatus::Complete) {
      Discard();
      Report("Could not open file " + path);
      return OpenResult::Failed;
    }

    doc_->DocumentFileName = GetFileTitle(path, false);
    doc_->DocumentFilePath = GetFilePath(path);
    doc_->ImageFileExist = true;
    const std::string bitmapName = GetFileTitle(path, true) + ".bmp";
    if (!doc_->BlankImage &&
        !doc_->LoadFileIntoDataBuffer(JoinFilePath(doc_->DocumentFilePath, bitmapName), true)) {
      doc_->BlankImage = true;
    }
    if (doc_->BlankImage) {
      doc_->ImageFileName = bitmapName;
      doc_->ImageFileExist = false;
      // Without its bitmap the document needs the size from its file to be drawn and
      // analysed at all.
      if (!HasValidImageSize(*doc_)) {
        Discard();
        Report("Could not open file " + path);
        return OpenResult::Failed;
      }
      std::int32_t width = 0, height = 0;
      doc_->GetImageSize(width, height);
      if (std::int64_t{width} * height > kMostBlankPicturePixels) {
        Discard();
        Report("Could not open file " + path + "\nIts picture " + bitmapName + " is missing, and a blank one of " +
               std::to_string(width) + " x " + std::to_string(height) +
               " pixels is more than the program draws in its place (" +
               std::to_string(kMostBlankPicturePixels / 1'000'000) + " million pixels).");
        return OpenResult::Failed;
      }
      doc_->LoadBlankImage(kNotGivenLong, kNotGivenLong);
    }

    HideActiveOutputViews();
    doc_->ImageView_Init();
    doc_->Views().ResizeWindow();
    if (doc_->OutputViewsExist) {
      doc_->OutputViews_UpdateVisibility(true);
      doc_->UpdateAnalysis(false, false);
      doc_->UpdateAverageList();
      doc_->OutputViews_Refresh();
    }
    doc_->Views().ShowImageView();
    doc_->DocDirty = false;
    return Opened();
  }

  OpenResult Opened() {
    opened_ = doc_;
    doc_ = nullptr;
    return OpenResult::Opened;
  }

  // With shared output windows only the active document shows its output views.
  void HideActiveOutputViews() {
    if (!table_.Settings().HogWindows) return;
    clsDocument* active = table_.ActiveDocument();
    if (active && active != doc_ && active->OutputViewsExist) active->OutputViews_HideAll();
  }

  // Closes the half-made document without asking.
  OpenResult Discard(OpenResult result = OpenResult::Failed) {
    if (doc_) {
      std::int16_t cancel = 0;
      table_.CloseDocument(doc_, true, cancel);
      doc_ = nullptr;
    }
    return result;
  }

  void Report(const std::string& text) const {
    if (!quiet_) ShowMessage(text, mb::kOk, "Error");
  }

  DocumentTable& table_;
  bool quiet_;
  clsDocument* doc_ = nullptr;
  clsDocument* opened_ = nullptr;
};

}  // namespace

bool IsOpenableFile(std::string_view path) {
  const std::string extension = LowerKey(GetFileExtension(path));
  return extension == "jpg" || extension == "bmp" || extension == "rle" || extension == "ovd";
}

clsDocument* OpenOneFile(DocumentTable& table, const std::string& path, bool Quiet) {
  FileOpener opener(table, Quiet);
  return opener.Open(path) == OpenResult::Opened ? opener.OpenedDocument() : nullptr;
}

void OpenFiles(DocumentTable& table, RecentFileList& recent, std::span<const std::string> FileNames,
               bool Quiet) {
  FileOpener opener(table, Quiet);
  for (const std::string& path : FileNames) {
    const OpenResult result = opener.Open(path);
    if (result == OpenResult::Opened) {
      recent.AddRecentFile(path);
      continue;
    }
    // A file that cannot be read has no place in the list; a failure of the program
    // (no free slot, no window) says nothing about the file.
    if (result != OpenResult::Stopped) recent.RemoveRecentFile(path);
    if (result != OpenResult::NotOpened) return;
  }
}

}  // namespace orvale
