#include "app/document/SaveDialog.h"

#include "app/document/FilePaths.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/MessageService.h"

namespace orvale {

std::string AskSaveFileName(clsDocument& doc, FileDialogRequest request, FileDialogAnswer* answer) {
  GeneralSettings& settings = doc.Settings();
  request.Flags = kSaveDialogFlags;
  request.InitDir = doc.DocumentFilePath.empty() ? settings.SaveFileDir : doc.DocumentFilePath;
  FileDialogAnswer result = CurrentFileDialogService().ShowSave(request);
  if (answer) *answer = result;
  if (result.Cancelled) return {};
  settings.SaveFileDir = result.Folder;
  return result.FileNames.empty() ? std::string() : result.FileNames.front();
}

bool ConfirmReplace(const std::string& path) {
  if (!FileExists(path)) return true;
  return ShowMessage(path + " already exists.\nDo you want to replace it?",
                     mb::kYesNo | mb::kIconExclamation, "Save File As") == idbutton::kYes;
}

std::string ProposedName(const std::string& name, const std::string& extension) {
  return name.empty() ? std::string() : GetFileTitle(name, true) + extension;
}

}  // namespace orvale
