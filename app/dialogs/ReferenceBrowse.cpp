#include "app/dialogs/ReferenceBrowse.h"

#include <string>

#include "app/dialogs/ReferenceZernikeFile.h"
#include "platform/runtime/TextOutput.h"
#include "platform/ui/FileDialogService.h"
#include "platform/ui/MessageService.h"

namespace orvale {

bool BrowseReferenceFile(AnalyzeControls& controls) {
  FileDialogRequest request;
  request.Title = "Browse File";
  request.Filter = "Zernikes (*.zrn *.ovd)|*.zrn;*.ovd";
  request.Flags = ofn::kFileMustExist | ofn::kPathMustExist | ofn::kHideReadOnly;
  request.InitDir = controls.BrowseDir;
  const FileDialogAnswer answer = CurrentFileDialogService().ShowOpen(request);
  if (answer.Cancelled) return false;

  controls.BrowseDir = answer.Folder;
  if (answer.FileNames.empty() || answer.FileNames.front().empty()) return false;
  const std::string& path = answer.FileNames.front();
  ZernikeVector scratch{};
  if (!LoadReferenceFile(path, scratch)) {
    ShowMessage("File " + path + " is invalid" + std::string(kCRLF) +
                    "or does not contain 36 Zernike polynomial coefficients",
                mb::kOk | mb::kIconExclamation, "Error");
    return false;
  }
  controls.AddReferenceFile(path);
  controls.SelectReference(controls.ReferenceCount() - 1);
  return true;
}

}  // namespace orvale
