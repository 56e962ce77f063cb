#pragma once
// Opening a file to read it: the one opener behind every file the program, its plug-in
// and the card libraries read (documents, pictures, reference files, settings, profiles).
// Only a regular file, or a link to one, is opened, and neither opening nor reading ever
// waits: a FIFO, a device or a socket named where a file is expected is refused at once,
// as a folder is, without blocking the caller or waking the device, and a read that
// would wait (a pseudo-file such as /proc/kmsg) fails with EAGAIN, a file error.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/FileIdentity.h"
#include "platform/runtime/RunError.h"

namespace orvale {

class ReadableFile {
 public:
  // `path` open for reading, or nullopt. On failure `errno` holds the reason (ENOENT,
  // EACCES, ...; EISDIR for a folder, ENODEV for anything else that is not a regular
  // file) and `error`, when given, the file error the program reports for it.
  static std::optional<ReadableFile> Open(const std::filesystem::path& path,
                                          RunError* error = nullptr);

  // Whether `path` may be handed to code that opens and reads it by itself (the dynamic
  // loader, an image-format plug-in), which would wait for ever on a file whose read
  // blocks: a regular file that is not empty by its size (a pseudo-file of /proc gives
  // none) and whose first byte reads at once. False with `error` set otherwise.
  static bool CheckBeforeHandingOver(const std::filesystem::path& path, RunError& error);

  ReadableFile(ReadableFile&& other) noexcept;
  ReadableFile& operator=(ReadableFile&& other) noexcept;
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;
  ~ReadableFile();

  // The size the file had when it was opened; a file that grows or shrinks while it is
  // read is read as it is, so no reader may rely on this for its buffer.
  std::uint64_t SizeWhenOpened() const { return static_cast<std::uint64_t>(identity_.Size); }
  // The file's identity when it was opened.
  const FileIdentity& Identity() const { return identity_; }
  const std::filesystem::path& Path() const { return path_; }

  // Reads up to `n` bytes: the count read, 0 at the end, -1 with `errno` set on an error
  // (EAGAIN when the read would have to wait).
  long Read(void* out, std::size_t n);
  // Appends the rest of the file to `bytes`, but never lets `bytes` grow past `limit`
  // bytes: false with `error` set when it cannot be read, or when the rest does not fit
  // ("Out of memory", naming the file). `bytes` may then hold part of the file.
  bool ReadRest(std::string& bytes, std::uint64_t limit, RunError& error);
  // Appends the file's next bytes to `bytes` until the end of the file or until `bytes`
  // holds `limit` bytes, whatever the file's size says: false with `error` set when it
  // cannot be read (`bytes` may then hold part of it).
  bool ReadUpTo(std::vector<std::uint8_t>& bytes, std::uint64_t limit, RunError& error);

  // For tests: when set, called with the path after the file is judged and before it is
  // opened to be read, where another program could put something else under its name.
  using JudgedHook = void (*)(const std::filesystem::path& path);
  static JudgedHook& AfterJudging();

  int Descriptor() const { return fd_; }
  // Hands the descriptor over to the caller (after a successful fdopen), leaving this
  // object closed.
  int Release();

 private:
  ReadableFile(int fd, const FileIdentity& identity, std::filesystem::path path);
  // Both reads above: appends until the end or until `bytes` holds `limit` bytes.
  template <class Bytes>
  bool AppendUpTo(Bytes& bytes, std::uint64_t limit, RunError& error);
  int fd_ = -1;
  FileIdentity identity_;
  std::filesystem::path path_;
};

}  // namespace orvale
