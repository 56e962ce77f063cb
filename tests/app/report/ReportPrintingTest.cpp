#include <gtest/gtest.h>

#include <QPageSize>
#include <fstream>

#include "app/report/ReportPage.h"
#include "app/report/ReportPrinting.h"
#include "platform/ui/PrinterList.h"
#include "tests/app/report/ReportTestSupport.h"

namespace orvale::testing {
namespace {

// An output that draws into a recording and fails at the step it is told to.
class FakeReportOutput final : public ReportOutput {
 public:
  enum class Fail { Nothing, Orientation, Begin, Page, EndPage, Finish };
  explicit FakeReportOutput(Fail fail) : fail_(fail) {}

  std::string DeviceName() const override { return "Lab Printer"; }
  bool SetOrientation(QPageLayout::Orientation orientation) override {
    steps.push_back(orientation == QPageLayout::Landscape ? "landscape" : "portrait");
    return fail_ != Fail::Orientation;
  }
  void SetCopies(std::int32_t copies) override { steps.push_back("copies " + std::to_string(copies)); }
  gdi::DeviceContext* Begin(const std::string& title) override {
    steps.push_back("begin " + title);
    return fail_ == Fail::Begin ? nullptr : &dc;
  }
  bool PageReady() const override { return fail_ != Fail::Page; }
  bool EndPage() override {
    steps.push_back("end page");
    return fail_ != Fail::EndPage;
  }
  bool Finish() override {
    steps.push_back("finish");
    return fail_ != Fail::Finish;
  }
  void Abort() override { steps.push_back("abort"); }

  std::vector<std::string> steps;
  gdi::RecordingDeviceContext dc{LetterCaps()};

 private:
  Fail fail_;
};

using Fail = FakeReportOutput::Fail;

TEST_F(ReportTest, AFailedJobIsAbortedReportedAndThePointerComesBack) {
  struct Case {
    Fail fail;
    std::vector<std::string> steps;  // after the copies and the orientation
    std::string message;             // title "Error" unless it is the page settings'
    std::vector<bool> busy;
  };
  const std::string begin = "begin Orvale - mirror.bmp";
  const Case cases[] = {
      {Fail::Nothing, {begin, "end page", "finish"}, "", {true, false}},
      {Fail::Orientation, {}, "Error changing page settings.", {}},
      {Fail::Begin, {begin}, "Cannot start print job on Lab Printer", {}},
      {Fail::Page, {begin, "abort"}, "Cannot print page", {}},
      {Fail::EndPage, {begin, "end page", "abort"}, "Cannot advance page", {true, false}},
      {Fail::Finish, {begin, "end page", "finish", "abort"}, "Print job incomplete", {true, false}},
  };
  for (const Case& c : cases) {
    messages_.Clear();
    host_.busyCalls.clear();
    FakeReportOutput output(c.fail);
    PrintReportOn(*doc_, output, 2, dir_);
    std::vector<std::string> steps = {"copies 2", "portrait"};
    steps.insert(steps.end(), c.steps.begin(), c.steps.end());
    EXPECT_EQ(output.steps, steps) << c.message;
    if (c.message.empty()) {
      EXPECT_TRUE(messages_.Messages().empty());
      EXPECT_FALSE(output.dc.Records().empty());
    } else {
      ASSERT_EQ(messages_.Messages().size(), 1u) << c.message;
      EXPECT_EQ(messages_.Messages()[0].text, c.message);
      EXPECT_EQ(messages_.Messages()[0].title,
                c.fail == Fail::Orientation ? "Print Error" : "Error");
      EXPECT_EQ(messages_.Messages()[0].flags, mb::kOk | mb::kIconExclamation);
    }
    EXPECT_EQ(host_.busyCalls, c.busy) << c.message;
  }
}

TEST_F(ReportTest, PageSettingsTakeTheReportsOrientationAndRefuseAnyOther) {
  FakeReportOutput output(Fail::Nothing);
  EXPECT_TRUE(SetPrinterPageSettings(output, 0, 2));
  EXPECT_FALSE(SetPrinterPageSettings(output, 1, 3));
  EXPECT_EQ(output.steps, (std::vector<std::string>{"copies 0", "landscape", "copies 1"}));
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Error changing page settings.");
}

class PrintReportTest : public ReportTest {
 protected:
  ReportPrintJob FileJob(const std::string& name = "report.pdf") const {
    ReportPrintJob job;
    job.PrintToFile = true;
    job.OutputFile = Path(name).string();
    job.PageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                 QMarginsF(0.25, 0.25, 0.5, 0.5), QPageLayout::Inch);
    job.Resolution = 300;
    job.LogoFolder = dir_;
    return job;
  }
  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(PrintReportTest, WithoutResultsAPaneThatNeedsThemAsksFirst) {
  doc_->OutputViewsExist = false;
  struct Case {
    const char* name;
    std::int32_t panes;
    std::array<std::int32_t, 7> kinds;
    bool asks;
  };
  const Case cases[] = {
      {"interferogram and logo", 2, {0, 3, 5, 0, 0, 0, 0}, false},
      {"a result kind in an unprinted pane", 3, {0, 3, 5, 0, 6, 0, 0}, false},
      {"the default layout", 3, {0, 6, 1, 5, 0, 0, 0}, true},
  };
  for (const Case& c : cases) {
    messages_.Clear();
    settings_.ReportNumPanes = c.panes;
    settings_.ReportPanes = c.kinds;
    messages_.QueueAnswer(idbutton::kCancel);
    PrintReport(*doc_, FileJob());
    EXPECT_EQ(!messages_.Messages().empty(), c.asks) << c.name;
    EXPECT_EQ(fs::exists(Path("report.pdf")), !c.asks) << c.name;
    fs::remove(Path("report.pdf"));
  }
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text,
            "Some of the specified panes will be empty, because there are no analysis results to "
            "print. Continue?");
  EXPECT_EQ(messages_.Messages()[0].title, "Orvale");
  EXPECT_EQ(messages_.Messages()[0].flags & mb::kButtonsMask, mb::kOkCancel);

  // OK prints the page with those panes left blank.
  messages_.QueueAnswer(idbutton::kOk);
  views_->prints.clear();
  PrintReport(*doc_, FileJob());
  EXPECT_TRUE(fs::exists(Path("report.pdf")));
  EXPECT_TRUE(views_->prints.empty());
}

TEST_F(PrintReportTest, APrinterThatDoesNotExistCannotBeOpened) {
  FixedPrinterList printers({"Lab Printer"}, "Lab Printer");
  ScopedPrinterList installed(printers);
  ReportPrintJob job;
  job.PrinterName = "No Such Printer";
  PrintReport(*doc_, job);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "Cannot open printer: No Such Printer");
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
  EXPECT_TRUE(views_->prints.empty());
}

// A job naming no printer (the quick print's, when the system names no default): the
// message says why, and where the report can still go, never "Cannot open printer: ".
TEST_F(PrintReportTest, WithoutAnyPrinterOrADefaultOneTheMessageSaysSoAndPointsToFilePrint) {
  struct Case {
    const char* Situation;
    std::vector<std::string> Printers;
    std::string Text;
  };
  const Case cases[] = {
      {"no printer installed", {}, "No printer is installed. File > Print can print the report to a PDF file."},
      {"printers but no default", {"Lab Printer", "Office"},
       "No default printer is set. File > Print can choose a printer or print the report to a PDF file."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Situation);
    FixedPrinterList printers(c.Printers, "");
    ScopedPrinterList installed(printers);
    messages_.Clear();
    PrintReport(*doc_, ReportPrintJob{});
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, c.Text);
    EXPECT_EQ(messages_.Messages()[0].title, "Error");
    EXPECT_TRUE(views_->prints.empty());
  }
}

TEST_F(PrintReportTest, AFileThatCannotBeStartedKeepsTheOlderOne) {
  std::ofstream(Path("report.pdf")) << "older report";
  std::ofstream(Path("plain-file")) << "not a folder";
  const std::string intoAFile = (Path("plain-file") / "report.pdf").string();
  const std::string vanished = (Path("gone") / "report.pdf").string();
  for (const std::string& target : {intoAFile, vanished}) {
    messages_.Clear();
    ReportPrintJob job = FileJob();
    job.OutputFile = target;
    PrintReport(*doc_, job);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, "Cannot start print job on " + target);
  }
  EXPECT_EQ(Contents(Path("report.pdf")), "older report");
  EXPECT_TRUE(host_.busyCalls.empty());
}

TEST_F(PrintReportTest, AnAbortedFileLeavesTheOlderOneAndNoPartOfTheNew) {
  std::ofstream(Path("report.pdf")) << "older report";
  const ReportPrintJob job = FileJob();
  {
    const auto output = MakePdfOutput(job.OutputFile, *job.PageLayout, job.Resolution);
    gdi::DeviceContext* dc = output->Begin("Orvale - mirror.bmp");
    ASSERT_NE(dc, nullptr);
    DrawReportPage(*dc, *doc_, dir_);
    output->Abort();
  }
  {
    // A job dropped half-way (an exception in a view) is aborted too.
    const auto output = MakePdfOutput(job.OutputFile, *job.PageLayout, job.Resolution);
    ASSERT_NE(output->Begin("Orvale - mirror.bmp"), nullptr);
  }
  EXPECT_EQ(Contents(Path("report.pdf")), "older report");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir_)) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Logo.bmp", "report.pdf"}));

  PrintReport(*doc_, job);
  EXPECT_EQ(Contents(Path("report.pdf")).substr(0, 5), "%PDF-");
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_EQ(host_.busyCalls, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace orvale::testing
