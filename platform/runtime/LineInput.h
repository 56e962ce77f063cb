#pragma once
// Line-by-line reading of text files. A line ends at CR LF, LF or CR; the line end is
// not part of the line. A final line end does not start another (empty) line.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/ReadableFile.h"
#include "platform/runtime/RunError.h"

namespace orvale {

enum class ReadStatus { Line, EndOfFile, Failed };

class LineSource {
 public:
  virtual ~LineSource() = default;
  // Line: `line` holds the next line. EndOfFile: nothing more; `line` is untouched.
  // Failed: `error` says why; `line` is untouched.
  virtual ReadStatus ReadLine(std::string& line, RunError& error) = 0;
};

// The longest line a text file may hold. The program's own files write lines of at
// most a few thousand characters (a comment typed into a document is its longest); a
// longer line means the file is no text file of ours, and reading it on would only
// fill the memory.
inline constexpr std::size_t kMaxTextLineLength = std::size_t{1} << 20;

class FileLineSource final : public LineSource {
 public:
  // Opens `path` for reading; nullptr and `error` set when it cannot be opened.
  static std::unique_ptr<FileLineSource> Open(const std::filesystem::path& path, RunError& error);
  FileLineSource(const FileLineSource&) = delete;
  FileLineSource& operator=(const FileLineSource&) = delete;

  // A line longer than kMaxTextLineLength fails with "Invalid file format" and its line
  // number; the rest of that line is passed over, so a further call reads the next one.
  ReadStatus ReadLine(std::string& line, RunError& error) override;

 private:
  explicit FileLineSource(ReadableFile file);
  // Makes sure unread bytes are buffered: false at the end of the file, or on a read
  // error (`failed_` set).
  bool Fill();
  // Passes over the rest of a line that was too long, up to and including its end;
  // false on a read error.
  bool SkipRestOfLine();
  // After a CR: takes the LF of a CR LF pair.
  void TakeLineEnd(char end);
  RunError ReadError() const;

  ReadableFile file_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // unread bytes are buffer_[begin_, end_)
  std::size_t end_ = 0;
  int failed_ = 0;  // errno of a failed read
  std::int64_t lineNumber_ = 0;
  bool skipping_ = false;  // the last line was too long; its rest is still unread
};

// Lines of a text held in memory; used for texts that are not files and in tests.
class StringLineSource final : public LineSource {
 public:
  explicit StringLineSource(std::string text);
  ReadStatus ReadLine(std::string& line, RunError& error) override;

 private:
  std::string text_;
  std::size_t pos_ = 0;
};

}  // namespace orvale
