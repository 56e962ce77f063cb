#pragma once
// The few failures the image functions also show in a message box, titled "Error" and
// owned by no window; every other failure is only a code.
#include "platform/ui/MessageService.h"

namespace orvale::melvex {

inline constexpr const char* kCannotAllocate = "Can't allocate memory !";
inline constexpr const char* kCannotLock = "Can't lock memory !";
inline constexpr const char* kCannotOpenClipboard = "Can't open Clipboard !";
inline constexpr const char* kFileWriteFailed = "An error occurred when writing to file";
inline constexpr const char* kIniReadFailed = "Error when reading INI file.";
inline constexpr const char* kIniWriteFailed = "Error when writing to INI file.";

inline void ShowErrorMessage(const char* text) { ShowMessage(text, mb::kOk, "Error", 0); }

}  // namespace orvale::melvex
