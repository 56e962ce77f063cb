#include "platform/runtime/LineInput.h"

#include <cerrno>
#include <optional>

#include "platform/runtime/ReadableFile.h"

namespace orvale {

std::unique_ptr<FileLineSource> FileLineSource::Open(const std::filesystem::path& path,
                                                     RunError& error) {
  std::optional<ReadableFile> file = ReadableFile::Open(path, &error);
  if (!file) return nullptr;
  std::FILE* f = ::fdopen(file->Descriptor(), "rb");
  if (!f) {
    error = RunError::FromErrno(errno, path);
    return nullptr;
  }
  file->Release();  // the stream owns it now
  return std::unique_ptr<FileLineSource>(new FileLineSource(f, path));
}

FileLineSource::FileLineSource(std::FILE* file, std::filesystem::path path)
    : file_(file), path_(std::move(path)) {}

FileLineSource::~FileLineSource() { std::fclose(file_); }

ReadStatus FileLineSource::ReadLine(std::string& line, RunError& error) {
  std::string text;
  int c = std::getc(file_);
  if (c == EOF) {
    if (std::ferror(file_)) {
      std::clearerr(file_);
      error = RunError::FromErrno(EIO, path_);
      return ReadStatus::Failed;
    }
    return ReadStatus::EndOfFile;
  }
  while (c != EOF && c != '\n' && c != '\r') {
    text += static_cast<char>(c);
    c = std::getc(file_);
  }
  if (c == EOF && std::ferror(file_)) {
    std::clearerr(file_);
    error = RunError::FromErrno(EIO, path_);
    return ReadStatus::Failed;
  }
  if (c == '\r') {
    const int next = std::getc(file_);
    if (next != '\n' && next != EOF) std::ungetc(next, file_);
  }
  line = std::move(text);
  return ReadStatus::Line;
}

StringLineSource::StringLineSource(std::string text) : text_(std::move(text)) {}

ReadStatus StringLineSource::ReadLine(std::string& line, RunError&) {
  if (pos_ >= text_.size()) return ReadStatus::EndOfFile;
  const std::size_t end = text_.find_first_of("\r\n", pos_);
  if (end == std::string::npos) {
    line = text_.substr(pos_);
    pos_ = text_.size();
  } else {
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  }
  return ReadStatus::Line;
}

}  // namespace orvale
