#pragma once
// Line-by-line reading of text files. A line ends at CR LF, LF or CR; the line end is
// not part of the line. A final line end does not start another (empty) line.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

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

class FileLineSource final : public LineSource {
 public:
  // Opens `path` for reading; nullptr and `error` set when it cannot be opened.
  static std::unique_ptr<FileLineSource> Open(const std::filesystem::path& path, RunError& error);
  ~FileLineSource() override;
  FileLineSource(const FileLineSource&) = delete;
  FileLineSource& operator=(const FileLineSource&) = delete;

  ReadStatus ReadLine(std::string& line, RunError& error) override;

 private:
  FileLineSource(std::FILE* file, std::filesystem::path path);
  std::FILE* file_;
  std::filesystem::path path_;
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
