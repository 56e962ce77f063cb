#include "platform/ui/QtFileDialogService.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/ui/MessageService.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

class QtFileDialogServiceTest : public ::testing::Test {
 protected:
  QtFileDialogServiceTest()
      : folder_(fs::temp_directory_path() /
                ("orvale-filedialog-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())),
        messages_(scripted_) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  ~QtFileDialogServiceTest() override { fs::remove_all(folder_); }

  void Touch(const std::string& name) const { std::ofstream(folder_ / name) << "x"; }
  QString Folder() const { return QString::fromStdString(folder_.string()); }
  // Types into the dialog's file-name field, as the user would.
  static void Type(QFileDialog& dialog, const QString& text) {
    auto* field = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(field, nullptr);
    field->setText(text);
  }
  // Presses Open or Save (accept() is public only as QDialog's).
  static void Accept(QFileDialog& dialog) { static_cast<QDialog&>(dialog).accept(); }

  fs::path folder_;
  ScriptedMessageService scripted_;
  ScopedMessageService messages_;
};

TEST(QtFileDialogFilterTest, PairsBecomeQtNameFilters) {
  struct Case {
    const char* filter;
    QStringList expected;
  };
  const Case cases[] = {
      {"Bitmap Files (*.bmp)|*.bmp|Orvale Documents (*.ovd)|*.ovd",
       {"Bitmap Files (*.bmp)", "Orvale Documents (*.ovd)"}},
      {"Pictures (*.jpg;*.bmp)|*.jpg;*.bmp;*.rle", {"Pictures (*.jpg *.bmp *.rle)"}},
      {"All files (*.*)|*.*|Map files (*.csv)|*.csv", {"All files (*)", "Map files (*.csv)"}},
      {"Zernikes|*.zrn", {"Zernikes (*.zrn)"}},
      {"|*.zrn", {"*.zrn"}},
      {"Dangling description", {}},
      {"Empty|", {}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(QtNameFiltersOf(c.filter), c.expected) << c.filter;
  EXPECT_EQ(QtPatternsOf(" *.jpg ; *.JPEG;;"), "*.jpg *.JPEG");
}

TEST_F(QtFileDialogServiceTest, AnOpenDialogIsSetUpFromTheRequest) {
  FileDialogRequest request;
  request.Filter = "All Files (*.*)|*.*|Pictures|*.jpg;*.bmp";
  request.FilterIndex = 2;
  request.InitDir = folder_.string();
  request.Flags = ofn::kExplorer | ofn::kAllowMultiSelect | ofn::kFileMustExist |
                  ofn::kPathMustExist | ofn::kHideReadOnly;
  request.Title = "Open Interferogram";
  const auto dialog = BuildFileDialog(request, FileDialogKind::Open, nullptr);
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
  EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_EQ(dialog->nameFilters(), (QStringList{"All Files (*)", "Pictures (*.jpg *.bmp)"}));
  EXPECT_EQ(dialog->selectedNameFilter(), "Pictures (*.jpg *.bmp)");
  EXPECT_EQ(dialog->directory().absolutePath(), Folder());
  EXPECT_EQ(dialog->windowTitle(), "Open Interferogram");

  request.Flags = ofn::kFileMustExist;
  request.FilterIndex = 9;  // no such filter: the first
  EXPECT_EQ(BuildFileDialog(request, FileDialogKind::Open, nullptr)->fileMode(),
            QFileDialog::ExistingFile);
  request.Flags = 0;
  const auto any = BuildFileDialog(request, FileDialogKind::Open, nullptr);
  EXPECT_EQ(any->fileMode(), QFileDialog::AnyFile);
  EXPECT_EQ(any->selectedNameFilter(), "All Files (*)");
}

TEST_F(QtFileDialogServiceTest, ASaveDialogLeavesTheReplaceQuestionToTheCommands) {
  FileDialogRequest request;
  request.Filter = "Bitmap Files (*.bmp)|*.bmp|Orvale Documents (*.ovd)|*.ovd";
  request.FilterIndex = 2;
  request.InitDir = folder_.string();
  request.FileName = "mirror.ovd";
  request.Flags = ofn::kExplorer | ofn::kPathMustExist | ofn::kHideReadOnly;
  Touch("mirror.ovd");
  const auto dialog = BuildFileDialog(request, FileDialogKind::Save, nullptr);
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
  EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));

  Accept(*dialog);
  ASSERT_EQ(dialog->result(), QDialog::Accepted);
  const FileDialogAnswer answer = AnswerOf(*dialog);
  EXPECT_FALSE(answer.Cancelled);
  EXPECT_EQ(answer.FileNames, std::vector<std::string>{(folder_ / "mirror.ovd").string()});
  EXPECT_EQ(answer.FilterIndex, 2);
  EXPECT_EQ(answer.Folder, folder_.string());
  EXPECT_TRUE(scripted_.Messages().empty());
}

TEST_F(QtFileDialogServiceTest, SeveralFilesComeBackAsFullPathsInTheDialogsOrder) {
  for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) Touch(name);
  FileDialogRequest request;
  request.Filter = "Bitmap Files (*.bmp)|*.bmp";
  request.InitDir = folder_.string();
  request.Flags = ofn::kAllowMultiSelect | ofn::kFileMustExist | ofn::kPathMustExist;
  const auto dialog = BuildFileDialog(request, FileDialogKind::Open, nullptr);
  Type(*dialog, "\"c.bmp\" \"a.bmp\" \"b.bmp\"");
  Accept(*dialog);
  ASSERT_EQ(dialog->result(), QDialog::Accepted);
  const FileDialogAnswer answer = AnswerOf(*dialog);
  EXPECT_EQ(answer.FileNames,
            (std::vector<std::string>{(folder_ / "c.bmp").string(), (folder_ / "a.bmp").string(),
                                      (folder_ / "b.bmp").string()}));
  EXPECT_EQ(answer.FilterIndex, 1);
  EXPECT_EQ(answer.Folder, folder_.string());
}

TEST_F(QtFileDialogServiceTest, NamesThatBreakTheMustExistRulesKeepTheDialogOpen) {
  struct Case {
    FileDialogKind kind;
    std::uint32_t flags;
    QString typed;
    std::string message;
  };
  const Case cases[] = {
      {FileDialogKind::Open, ofn::kFileMustExist | ofn::kPathMustExist, "missing.bmp",
       (folder_ / "missing.bmp").string() + "\nFile not found.\nCheck the file name and try again."},
      {FileDialogKind::Save, ofn::kPathMustExist, "nofolder/new.bmp",
       (folder_ / "nofolder" / "new.bmp").string() +
           "\nPath does not exist.\nCheck the path and try again."},
  };
  for (const Case& c : cases) {
    scripted_.Clear();
    FileDialogRequest request;
    request.InitDir = folder_.string();
    request.Flags = c.flags;
    request.Title = "Pick";
    const auto dialog = BuildFileDialog(request, c.kind, nullptr);
    Type(*dialog, c.typed);
    Accept(*dialog);
    EXPECT_NE(dialog->result(), QDialog::Accepted) << c.message;
    ASSERT_EQ(scripted_.Messages().size(), 1u) << c.message;
    EXPECT_EQ(scripted_.Messages()[0].text, c.message);
    EXPECT_EQ(scripted_.Messages()[0].title, "Pick");
  }
  // Without the rule, a new name in an existing folder is taken as it is.
  FileDialogRequest request;
  request.InitDir = folder_.string();
  const auto dialog = BuildFileDialog(request, FileDialogKind::Save, nullptr);
  Type(*dialog, "new.bmp");
  Accept(*dialog);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(QtFileDialogServiceTest, ExtensionsMatchInAnyCase) {
  for (const char* name : {"MIRROR.ZRN", "lens.zrn", "notes.txt"}) Touch(name);
  FileDialogRequest request;
  request.Filter = "Zernike Files (*.zrn)|*.zrn";
  request.InitDir = folder_.string();
  const auto dialog = BuildFileDialog(request, FileDialogKind::Open, nullptr);
  auto* model = dialog->findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  // The model hears of the folder's listing (read on a thread of its own) only as its
  // events run, the entries first, then that the listing is complete.
  const QString folder = QDir(Folder()).canonicalPath();
  bool folderListed = false;
  QObject::connect(model, &QFileSystemModel::directoryLoaded, model, [&](const QString& path) {
    if (QDir(path).canonicalPath() == folder) folderListed = true;
  });
  // Only a hang runs into the bound: the listing takes milliseconds.
  ASSERT_TRUE(QTest::qWaitFor([&] { return folderListed; }, 60000));
  const QModelIndex root = model->index(Folder());
  std::set<QString> shown;
  for (int row = 0; row < model->rowCount(root); ++row) shown.insert(model->index(row, 0, root).data().toString());
  EXPECT_EQ(shown, (std::set<QString>{"MIRROR.ZRN", "lens.zrn"}));
}

}  // namespace
}  // namespace orvale
