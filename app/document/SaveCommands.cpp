#include "app/document/SaveCommands.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "app/analysis/KeywordSection.h"
#include "app/document/DocumentSaveService.h"
#include "app/document/DocumentTextFile.h"
#include "app/document/FilePaths.h"
#include "app/document/OutputViewCaptions.h"
#include "app/document/PromptedFileWrite.h"
#include "app/document/SaveDialog.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

void UpdateCaptions(clsDocument& doc) {
  doc.Views().SetCaption(viewtype::kImage, DocumentDisplayName(doc));
  if (!doc.OutputViewsExist) return;
  for (std::int32_t formType = viewtype::kSurfacePlot; formType <= viewtype::kGridResults; ++formType)
    doc.Views().SetCaption(formType, OutputViewCaption(doc, formType));
}

bool HasAnalysisData(const clsDocument& doc) {
  return doc.OutputViewsExist || doc.Aperture.GetShapeType() != clsShape::kNone ||
         doc.Obstruction.GetShapeType() != clsShape::kNone || doc.Fringes.NumFringes() > 0;
}

std::string WithExtensionIfNone(const std::string& name, std::string_view extension) {
  return GetFileExtension(name).empty() ? name + std::string(extension) : name;
}

class FileSaveService final : public DocumentSaveService {
 public:
  bool SaveFile(const std::string& FileName, clsDocument& doc) override {
    return orvale::SaveFile(FileName, doc);
  }
  bool SaveFileAs(clsDocument& doc, bool AsBitmap) override {
    return orvale::SaveFileAs(doc, AsBitmap);
  }
};

}  // namespace

bool SaveFile(const std::string& FileName, clsDocument& doc) {
  const std::string folder = GetFilePath(FileName);
  const std::string extension = LowerKey(GetFileExtension(FileName));
  const bool asDocument = extension == "ovd";
  std::string bitmap;
  bool writeBitmap = false;
  if (asDocument) {
    bitmap = JoinFilePath(folder, GetFileTitle(FileName, true) + ".bmp");
    // A document saved into another folder or under another name takes its image along.
    writeBitmap = !doc.BlankImage && (doc.BMPDirty || !FileExists(bitmap));
  } else if (extension == "bmp") {
    if (doc.BlankImage) {
      ShowMessage("Cannot save a blank image", mb::kOk | mb::kIconExclamation, "Warning");
      return false;
    }
    bitmap = FileName;
    writeBitmap = true;
  } else {
    ShowMessage("Unknown file type.\nCould not save " + FileName, mb::kOk, "Save File As");
    return false;
  }

  std::optional<std::vector<std::uint8_t>> bitmapBytes;
  if (writeBitmap) {
    bitmapBytes = doc.BitmapFileBytes();
    if (!bitmapBytes) return false;
  }
  const std::string text = asDocument ? DocumentText(doc) : std::string();
  const std::string_view bitmapPart =
      bitmapBytes ? std::string_view(reinterpret_cast<const char*>(bitmapBytes->data()), bitmapBytes->size())
                  : std::string_view();
  const std::string_view textPart(text);
  // Both files or neither: the text names its bitmap, so the bitmap goes in place first
  // and the text only after it.
  std::vector<PromptedFile> files;
  if (writeBitmap) files.push_back({bitmap, std::span<const std::string_view>(&bitmapPart, 1)});
  if (asDocument) files.push_back({FileName, std::span<const std::string_view>(&textPart, 1)});
  if (!WriteFilesWithPrompt(files)) return false;

  if (asDocument) {
    doc.DocDirty = false;
    doc.DocumentFileName = GetFileTitle(FileName, false);
    doc.DocumentFilePath = folder;
  }
  if (writeBitmap) {
    doc.BMPDirty = false;
    doc.ImageFileName = GetFileTitle(bitmap, false);
    // The averaging and math lists show the new name.
    doc.UpdateAverageList();
  }
  UpdateCaptions(doc);
  return true;
}

bool SaveFileAs(clsDocument& doc, bool AsBitmap) {
  FileDialogRequest request;
  request.Filter = "Bitmap Files (*.bmp)|*.bmp|Orvale Documents (*.ovd)|*.ovd";
  request.FilterIndex = doc.Settings().SaveFileFilter;
  request.HelpContext = 1104;
  std::string proposed;
  if (AsBitmap) {
    request.FileName = WithExtensionIfNone(doc.ImageFileName, ".bmp");
    request.FilterIndex = 1;
  } else {
    request.FileName = doc.DocumentFileName;
    request.FilterIndex = 2;
    if (request.FileName.empty()) {
      if (HasAnalysisData(doc)) {
        request.FileName = ProposedName(doc.ImageFileName, ".ovd");
      } else {
        request.FileName = WithExtensionIfNone(doc.ImageFileName, ".bmp");
        request.FilterIndex = 1;
      }
    }
    proposed = request.FileName;
  }

  FileDialogAnswer answer;
  const std::string chosen = AskSaveFileName(doc, request, &answer);
  if (answer.Cancelled) return false;
  doc.Settings().SaveFileFilter = answer.FilterIndex;
  if (chosen.empty()) return false;

  // A new name, or a picture that came from another format, needs its bitmap written.
  if (GetFileTitle(chosen, false) != proposed) doc.BMPDirty = true;
  const std::string& image = doc.ImageFileName;
  if (LowerKey(image.size() >= 3 ? image.substr(image.size() - 3) : image) != "bmp")
    doc.BMPDirty = true;

  if (!ConfirmReplace(chosen)) return false;
  return SaveFile(chosen, doc);
}

DocumentSaveService& FileSaveCommands() {
  static FileSaveService service;
  return service;
}

}  // namespace orvale
