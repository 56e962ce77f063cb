// The writer acts on the files it examined, through their descriptors: another user who
// may write the folder and puts a link in the place of the temporary file or of the file
// changes no other file, and a file system that cannot reserve space is still written.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/runtime/TextOutput.h"
#include "tests/support/BoundedChild.h"
#include "tests/support/OtherUserProcess.h"
#include "tests/support/WrittenFileSituations.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

class FileReplacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("orvale-replacement-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

// The temporary file a writer made in `folder`.
fs::path TemporaryFileIn(const fs::path& folder) {
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().find(".tmp-") != std::string::npos) return entry.path();
  }
  return {};
}

// Puts a symbolic link to `to` in the place of `name`: as another user, who may write the
// folder, where the test can act as one; else as this user.
void PutLinkInPlaceOf(const fs::path& name, const fs::path& to) {
  if (testing::CanActAsOtherUser()) {
    ASSERT_TRUE(testing::RunAsOtherUser({"ln", "-sfT", to.string(), name.string()}));
  } else {
    fs::remove(name);
    fs::create_symlink(to, name);
  }
  ASSERT_TRUE(fs::is_symlink(name));
}

// A set-user-ID program, or any file, elsewhere: its mode and text stay as they are, and
// the file written stays as it was.
TEST_F(FileReplacementTest, ALinkPutInPlaceOfTheTemporaryFileOrTheFileChangesNoOtherFile) {
  struct Case {
    const char* what;
    bool temporaryFile;  // else the file itself
    bool secondName;     // the file, or the other one, has two names: written in place
  };
  const Case cases[] = {
      {"the temporary file", true, false},
      {"the temporary file of a file with two names", true, true},
      {"the file, by a link to a file with two names", false, true},
      {"the file, by a link to a file with one name", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(root_);
    const fs::path shared = root_ / "shared";
    const fs::path elsewhere = root_ / "elsewhere";
    fs::create_directories(shared);
    fs::create_directories(elsewhere);
    ::chmod(shared.c_str(), 0777);  // any user may write it
    const fs::path file = shared / "cam.ini";
    const fs::path victim = elsewhere / "program";
    std::ofstream(file, std::ios::binary) << "old";
    std::ofstream(victim, std::ios::binary) << "victim";
    ASSERT_EQ(::chmod(victim.c_str(), 04755), 0);
    if (c.secondName) {
      const fs::path named = c.temporaryFile ? file : victim;
      fs::create_hard_link(named, named.parent_path() / "second");
    }

    RunError error;
    std::unique_ptr<AtomicFileWriter> writer = AtomicFileWriter::Open(file, error);
    ASSERT_TRUE(writer) << error.Description;
    ASSERT_TRUE(writer->Write("new", error));
    PutLinkInPlaceOf(c.temporaryFile ? TemporaryFileIn(shared) : file, victim);
    EXPECT_FALSE(writer->Commit(error));
    EXPECT_NE(error.Description.find("was replaced by another program"), std::string::npos) << error.Description;

    struct stat st {};
    ASSERT_EQ(::stat(victim.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 04755u);
    EXPECT_EQ(testing::FileText(victim), "victim");
    if (c.temporaryFile) {
      EXPECT_EQ(testing::FileText(file), "old");
    }
    EXPECT_EQ(TemporaryFileIn(shared), fs::path()) << "left beside the file";
  }
}

// Where the file system cannot reserve space (NFS before 4.2, FUSE file systems such as
// sshfs, eCryptfs: fallocate answers EOPNOTSUPP), a file with two names is written in its
// place without the reservation. The child running the write gets that answer from the
// kernel itself (a seccomp filter), as the C library's own fallback would.
TEST_F(FileReplacementTest, AFileSystemThatCannotReserveSpaceIsWrittenWithout) {
  const fs::path file = root_ / "linked.ini";
  std::ofstream(file, std::ios::binary) << std::string(200000, 'o');  // the old text is read where it lies
  fs::create_hard_link(file, root_ / "second.ini");
  const std::string text(100000, 'n');
  EXPECT_TRUE(testing::RunsWithinBounds([&] {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_fallocate, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EOPNOTSUPP & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
      throw 1;
    }
    RunError error;
    if (!WriteFileAtomically(file, text, error)) {
      std::fprintf(stderr, "%s\n", error.Description.c_str());
      throw 2;
    }
  }));
  EXPECT_EQ(testing::FileText(file), text);
  EXPECT_EQ(testing::FileText(root_ / "second.ini"), text);
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace orvale
