#pragma once
// A run-time error as the program reports it: a number from the classic run-time
// error table and a description. File operations map operating-system failures onto
// the file errors 52..76, which the user can answer with Abort, Retry or Ignore.
#include <filesystem>
#include <string>

namespace orvale {

namespace errnum {
inline constexpr int kInvalidArgument = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kBadFileNameOrNumber = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kBadFileMode = 54;
inline constexpr int kFileAlreadyOpen = 55;
inline constexpr int kDeviceIOError = 57;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kBadRecordLength = 59;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEndOfFile = 62;
inline constexpr int kBadRecordNumber = 63;
inline constexpr int kTooManyFiles = 67;
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kDiskNotReady = 71;
inline constexpr int kRenameAcrossDrives = 74;
inline constexpr int kPathFileAccessError = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidFileFormat = 321;
inline constexpr int kCancelled = 32755;  // a common dialog cancelled by the user
}  // namespace errnum

struct RunError {
  int Number = 0;
  std::string Description;

  // True for the file and device errors that are offered Abort, Retry and Ignore.
  bool IsFileError() const;

  // The standard description of an error number ("File not found").
  static std::string StandardDescription(int number);
  static RunError FromNumber(int number);
  // Maps an errno value of a failed operation on `path` onto the file errors; the
  // description names the file (ENOLCK: "<path> is locked by another program").
  static RunError FromErrno(int errnoValue, const std::filesystem::path& path);
};

}  // namespace orvale
