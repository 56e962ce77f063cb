#include "platform/runtime/RunError.h"

#include <cerrno>

namespace orvale {

bool RunError::IsFileError() const {
  switch (Number) {
    case 52: case 53: case 54: case 55: case 57: case 58: case 59: case 61: case 62:
    case 63: case 67: case 68: case 70: case 71: case 74: case 75: case 76:
      return true;
    default:
      return false;
  }
}

std::string RunError::StandardDescription(int number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 54: return "Bad file mode";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case 59: return "Bad record length";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 63: return "Bad record number";
    case 67: return "Too many files";
    case 68: return "Device unavailable";
    case 70: return "Permission denied";
    case 71: return "Disk not ready";
    case 74: return "Can't rename with different drive";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 321: return "Invalid file format";
    case 32755: return "Cancel was selected.";
    default: return "Application-defined or object-defined error";
  }
}

RunError RunError::FromNumber(int number) { return RunError{number, StandardDescription(number)}; }

RunError RunError::FromErrno(int errnoValue, const std::filesystem::path& path) {
  int number = errnum::kPathFileAccessError;
  switch (errnoValue) {
    case ENOENT: number = errnum::kFileNotFound; break;
    case ENOTDIR: number = errnum::kPathNotFound; break;
    case EACCES: case EPERM: case EROFS: number = errnum::kPermissionDenied; break;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      number = errnum::kDiskFull; break;
    case EIO: number = errnum::kDeviceIOError; break;
    case EMFILE: case ENFILE: number = errnum::kTooManyFiles; break;
    case EEXIST: number = errnum::kFileAlreadyExists; break;
    case ENAMETOOLONG: number = errnum::kBadFileNameOrNumber; break;
    case EXDEV: number = errnum::kRenameAcrossDrives; break;
    case ENODEV: case ENXIO: number = errnum::kDeviceUnavailable; break;
    case ENOMEM: number = errnum::kOutOfMemory; break;
    default: break;
  }
  RunError e = FromNumber(number);
  if (!path.empty()) e.Description += ": " + path.string();
  // A lock another program keeps (FolderLock) is no fault of the file's: say so.
  if (errnoValue == ENOLCK) {
    e.Description += path.empty() ? ": locked by another program" : " is locked by another program";
  }
  return e;
}

}  // namespace orvale
