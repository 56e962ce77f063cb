#include "app/document/FileBytes.h"

#include <unistd.h>

#include <cerrno>
#include <new>
#include <optional>
#include <stdexcept>
#include <utility>

#include "platform/runtime/ReadableFile.h"

namespace orvale {

bool ReadFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                   RunError& error) {
  std::optional<ReadableFile> file = ReadableFile::Open(path, &error);
  if (!file) return false;
  std::vector<std::uint8_t> content;
  try {
    content.resize(static_cast<std::size_t>(file->SizeWhenOpened()));
  } catch (const std::bad_alloc&) {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    return false;
  } catch (const std::length_error&) {
    error = RunError::FromNumber(errnum::kOutOfMemory);
    return false;
  }
  std::size_t done = 0;
  while (done < content.size()) {
    const long n = file->Read(content.data() + done, content.size() - done);
    if (n < 0) {
      error = RunError::FromErrno(errno, path);
      return false;
    }
    if (n == 0) break;  // the file shrank while it was read
    done += static_cast<std::size_t>(n);
  }
  content.resize(done);
  bytes = std::move(content);
  return true;
}

}  // namespace orvale
