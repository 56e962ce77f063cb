#pragma once
// Writing text and binary files. Every file the program writes goes to a temporary
// file in the target's folder and takes the target's place only when it is complete
// (FileReplacement.h), so a failed save never damages the previous file.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/RunError.h"

namespace orvale {

inline constexpr std::string_view kCRLF = "\r\n";

class TextOutput {
 public:
  virtual ~TextOutput() = default;
  // Appends `text`; false and `error` set when it could not be written.
  virtual bool Write(std::string_view text, RunError& error) = 0;
  // Appends `text` and a CR LF line end.
  bool WriteLine(std::string_view text, RunError& error);
};

// Collects the text in memory.
class StringTextOutput final : public TextOutput {
 public:
  bool Write(std::string_view text, RunError& error) override;
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// The file a write to `target` replaces: `target` itself, or, when it is a symbolic link,
// the file at the end of its chain of links (relative ones read from the link's folder),
// which need not exist yet. Nullopt and `error` set (ELOOP) for a loop or a chain longer
// than the system itself follows, and ("Permission denied") for a link of another user in
// a folder other users may write, which is never followed (OtherUsersWrites.h).
std::optional<std::filesystem::path> WriteTargetOf(const std::filesystem::path& target,
                                                   RunError& error);

// A file written through a temporary file that takes the target's place at Commit():
// renamed over it, or copied into it where a rename would lose something (hard links, an
// owner the writer cannot give); see FileReplacement.h. A file the user may not write is
// refused by Open. Destroying the writer without a successful Commit() removes the
// temporary file and leaves the target as it was. A target that is a symbolic link stays
// one: the file it names is the one written (WriteTargetOf), through a temporary file in
// that file's folder.
class AtomicFileWriter final : public TextOutput {
 public:
  static std::unique_ptr<AtomicFileWriter> Open(const std::filesystem::path& target,
                                                RunError& error);
  ~AtomicFileWriter() override;
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool Write(std::string_view bytes, RunError& error) override;
  // Puts what was written on the disk ahead of Commit(), so that the step from a last
  // look at the target to its replacement is short.
  bool Sync(RunError& error);
  // Flushes and syncs the temporary file and puts it in the target's place.
  bool Commit(RunError& error);
  const std::filesystem::path& Target() const { return target_; }

 private:
  AtomicFileWriter(int fd, std::filesystem::path temp, std::filesystem::path target,
                   std::filesystem::path file);
  void Discard();
  int fd_;
  std::filesystem::path temp_;
  std::filesystem::path target_;  // as given, for messages
  std::filesystem::path file_;    // what the temporary file replaces
  bool committed_ = false;
};

// Writes `bytes` as the whole content of `target`, atomically.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         RunError& error);

// For tests: while one lives, every AtomicFileWriter in the process fails as a full or
// broken disk would, so a test can show that a failed save keeps the old file.
//   Write:  once `after` more bytes have been written, writes fail (ENOSPC) and stop there;
//   Commit: after `after` more successful commits, commits fail (EIO) before the rename;
//   Reserve: after `after` more writes in place, one fails (ENOSPC) as it reserves its
//            space, before it touches the file.
class AtomicWriteFailure {
 public:
  enum class At { Write, Commit, Reserve };
  explicit AtomicWriteFailure(At at, std::uint64_t after = 0);
  ~AtomicWriteFailure();  // writes and commits work again
  AtomicWriteFailure(const AtomicWriteFailure&) = delete;
  AtomicWriteFailure& operator=(const AtomicWriteFailure&) = delete;
};

}  // namespace orvale
