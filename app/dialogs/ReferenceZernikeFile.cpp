#include "app/dialogs/ReferenceZernikeFile.h"

#include <cctype>
#include <cmath>
#include <memory>
#include <string>

#include "app/document/FilePaths.h"
#include "platform/runtime/LineInput.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr std::size_t kKeywordLength = 8;  // "zernikes"

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsBlankLine(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

// A ".zrn" list: numbers separated by commas or line ends.
bool ReadZernikeList(LineSource& file, ZernikeVector& refzrn) {
  std::size_t count = 0;
  std::string line;
  RunError error;
  while (count < kZernikeTermCount) {
    if (file.ReadLine(line, error) != ReadStatus::Line) return false;
    if (IsBlankLine(line)) continue;
    std::size_t start = 0;
    while (count < kZernikeTermCount) {
      const std::size_t comma = line.find(',', start);
      const std::size_t end = comma == std::string::npos ? line.size() : comma;
      double value = 0;
      if (!TryConvertNumber(std::string_view(line).substr(start, end - start), value) ||
          !std::isfinite(value)) {
        return false;
      }
      refzrn[++count] = value;
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  return true;
}

// A document file: the first line whose first eight characters are "zernikes"; every
// comma after them starts a value, and at least 36 must follow.
bool ReadZernikesLine(LineSource& file, ZernikeVector& refzrn) {
  std::string line;
  RunError error;
  do {
    if (file.ReadLine(line, error) != ReadStatus::Line) return false;
  } while (line.empty() || Lower(line.substr(0, kKeywordLength)) != "zernikes");

  std::size_t commas = 0;
  for (std::size_t i = kKeywordLength; i < line.size(); ++i) {
    if (line[i] != ',') continue;
    if (++commas > kZernikeTermCount) continue;  // counted, not read
    const double value = ReadLeadingNumber(std::string_view(line).substr(i + 1));
    if (!std::isfinite(value)) return false;
    refzrn[commas] = value;
  }
  return commas >= kZernikeTermCount;
}

}  // namespace

bool LoadReferenceFile(std::string_view filename, ZernikeVector& refzrn) {
  try {
    if (!FileExists(filename)) return false;
    RunError error;
    const std::unique_ptr<FileLineSource> file =
        FileLineSource::Open(std::string(filename), error);
    if (!file) return false;
    if (Lower(GetFileExtension(filename)) == "zrn") return ReadZernikeList(*file, refzrn);
    return ReadZernikesLine(*file, refzrn);
  } catch (...) {
    // Out of memory on an absurd line: the file is simply not a reference.
    return false;
  }
}

}  // namespace orvale
