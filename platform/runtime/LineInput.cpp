#include "platform/runtime/LineInput.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

namespace orvale {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

std::unique_ptr<FileLineSource> FileLineSource::Open(const std::filesystem::path& path,
                                                     RunError& error) {
  std::optional<ReadableFile> file = ReadableFile::Open(path, &error);
  if (!file) return nullptr;
  return std::unique_ptr<FileLineSource>(new FileLineSource(std::move(*file)));
}

FileLineSource::FileLineSource(ReadableFile file) : file_(std::move(file)), buffer_(kReadChunk) {}

bool FileLineSource::Fill() {
  if (begin_ < end_) return true;
  begin_ = end_ = 0;
  const long got = file_.Read(buffer_.data(), buffer_.size());
  if (got < 0) {
    failed_ = errno;
    return false;
  }
  failed_ = 0;
  end_ = static_cast<std::size_t>(got);
  return got > 0;
}

RunError FileLineSource::ReadError() const { return RunError::FromErrno(failed_, file_.Path()); }

void FileLineSource::TakeLineEnd(char end) {
  if (end == '\r' && Fill() && buffer_[begin_] == '\n') ++begin_;
}

bool FileLineSource::SkipRestOfLine() {
  while (Fill()) {
    const auto from = buffer_.begin() + static_cast<std::ptrdiff_t>(begin_);
    const auto to = buffer_.begin() + static_cast<std::ptrdiff_t>(end_);
    const auto found = std::find_if(from, to, IsLineEnd);
    begin_ = static_cast<std::size_t>(found - buffer_.begin());
    if (found != to) {
      ++begin_;
      TakeLineEnd(*found);
      skipping_ = false;
      return true;
    }
  }
  if (failed_ != 0) return false;
  skipping_ = false;  // the long line was the last one
  return true;
}

ReadStatus FileLineSource::ReadLine(std::string& line, RunError& error) {
  if (skipping_ && !SkipRestOfLine()) {
    error = ReadError();
    return ReadStatus::Failed;
  }
  if (!Fill()) {
    if (failed_ == 0) return ReadStatus::EndOfFile;
    error = ReadError();
    return ReadStatus::Failed;
  }
  ++lineNumber_;
  std::string text;
  for (;;) {
    const auto from = buffer_.begin() + static_cast<std::ptrdiff_t>(begin_);
    const auto to = buffer_.begin() + static_cast<std::ptrdiff_t>(end_);
    const auto found = std::find_if(from, to, IsLineEnd);
    const auto count = static_cast<std::size_t>(found - from);
    if (text.size() + count > kMaxTextLineLength) {
      begin_ += count;
      skipping_ = true;
      error = RunError::FromNumber(errnum::kInvalidFileFormat);
      error.Description += ": line " + std::to_string(lineNumber_) + " is longer than " +
                           std::to_string(kMaxTextLineLength) + " characters: " +
                           file_.Path().string();
      return ReadStatus::Failed;
    }
    text.append(from, found);
    begin_ += count;
    if (found != to) {
      ++begin_;
      TakeLineEnd(*found);
      break;
    }
    if (!Fill()) {
      if (failed_ == 0) break;  // the last line has no line end
      error = ReadError();
      return ReadStatus::Failed;
    }
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
