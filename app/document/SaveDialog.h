#pragma once
// What the save and export commands share: the save dialog set up the common way and
// the question before an existing file is replaced.
#include <cstdint>
#include <string>

#include "platform/ui/FileDialogService.h"

namespace orvale {

class clsDocument;

// Explorer style, path must exist, hide read-only; no overwrite prompt of the dialog's
// own (the commands ask themselves).
inline constexpr std::uint32_t kSaveDialogFlags =
    ofn::kExplorer | ofn::kPathMustExist | ofn::kHideReadOnly;

// Shows the save dialog for `doc`, starting in the document's folder or else in the
// "Save File Dir" setting, which takes the dialog's folder afterwards. The chosen path,
// or empty when the dialog was cancelled; `answer` receives the whole answer.
std::string AskSaveFileName(clsDocument& doc, FileDialogRequest request,
                            FileDialogAnswer* answer = nullptr);

// True when `path` does not exist or the user agreed to replace it.
bool ConfirmReplace(const std::string& path);

// `name` without its extension followed by `extension`; empty for an empty name.
std::string ProposedName(const std::string& name, const std::string& extension);

}  // namespace orvale
