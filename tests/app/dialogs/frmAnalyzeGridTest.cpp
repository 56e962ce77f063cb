#include "app/dialogs/frmAnalyzeGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AnalyzeTestSupport.h"
#include "app/dialogs/ApplyAnalysis.h"
#include "app/plots/ResultDocumentViews.h"
#include "tests/support/MdiTestHost.h"

namespace orvale::testing {
namespace {

// Types `text` over a field's text and ends the edit with Return.
void TypeInto(QLineEdit* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
  QTest::keyClick(field, Qt::Key_Return);
}

class frmAnalyzeGridTest : public AnalyzeTest {
 protected:
  void SetUp() override {
    AnalyzeTest::SetUp();
    table_.ActiveDocIndex = 0;  // the window loads before any document is open
    window_.Load();
    table_.ActiveDocIndex = doc_->ovDocIndex;
    window_.show();
    QApplication::setActiveWindow(&window_);
  }
  QPushButton* Button(const char* name) { return window_.findChild<QPushButton*>(name); }
  QCheckBox* Check(const char* name) { return window_.findChild<QCheckBox*>(name); }

  frmAnalyzeGrid window_{frame_, table_, nullptr};
};

TEST_F(frmAnalyzeGridTest, WithoutADocumentOnlyLoadWorksAndTheChecksEnableTheLimits) {
  table_.ActiveDocIndex = 0;
  window_.ShowCurrentGridData();
  EXPECT_EQ(window_.windowTitle(), "Analyze Grid");
  for (const char* name : {"cmdApply", "cmdGridAdd", "cmdGridSave", "cmdGridClear"})
    EXPECT_FALSE(Button(name)->isEnabled()) << name;
  EXPECT_TRUE(Button("cmdGridLoad")->isEnabled());
  EXPECT_EQ(window_.Field(GridField::MaxRMS)->text(), "0");
  EXPECT_TRUE(Check("chkGridUsePV")->isChecked());

  Check("chkGridUsePV")->click();
  EXPECT_FALSE(window_.Field(GridField::MaxPV)->isEnabled());
  EXPECT_TRUE(window_.Field(GridField::MaxRMS)->isEnabled());
}

TEST_F(frmAnalyzeGridTest, ARefusedEditKeepsItsTextAndTheFocusAndHoldsTheWindowOpen) {
  window_.ShowCurrentGridData();
  QLineEdit* cellWidth = window_.Field(GridField::CellWidth);
  TypeInto(window_.Field(GridField::GridWidth), "40");
  TypeInto(cellWidth, "10");
  TypeInto(window_.Field(GridField::CellHeight), "10");
  EXPECT_EQ(doc_->Grid.CellPhysicalWidth, 10);
  EXPECT_TRUE(messages_.Messages().empty());
  Button("cmdGridAdd")->click();
  EXPECT_EQ(views_->GridDrawingStarts(), 1);
  doc_->Grid.SetBounds(60, 60, 140, 140);  // the two clicks on the image
  window_.ShowCurrentGridData();
  EXPECT_TRUE(Button("cmdApply")->isEnabled());

  // Every field takes typed letters, and each gets its Warning.
  for (int f = 0; f < kGridFieldCount; ++f) {
    QLineEdit* field = window_.Field(static_cast<GridField>(f));
    messages_.Clear();
    TypeInto(field, "1e999");
    ASSERT_EQ(messages_.Messages().size(), 1u) << f;
    EXPECT_EQ(messages_.Messages()[0].title, "Warning");
    QApplication::processEvents();
    EXPECT_TRUE(field->hasFocus()) << f;
    EXPECT_EQ(field->text(), "1e999");
    field->setText(QString::fromStdString(window_.Controller().Text(static_cast<GridField>(f))));
    field->setModified(false);
  }
  EXPECT_EQ(doc_->Grid.CellCountX, 4);

  // An edit still pending is checked before a command or hiding; refused, it holds the
  // window open (warned each time) and keeps its text, whether the window is closed by
  // its button or its title bar. Once corrected, the window hides.
  frame_.SetViewItemChecked(ViewMenuItem::GridAnalyzeBox, true);
  cellWidth->setFocus();
  cellWidth->selectAll();
  QTest::keyClicks(cellWidth, "3");
  messages_.Clear();
  Button("cmdClose")->click();
  EXPECT_TRUE(window_.isVisible());
  EXPECT_FALSE(window_.close());
  EXPECT_TRUE(window_.isVisible());
  Button("cmdApply")->click();
  const std::string wholeMultiple =
      "The grid's physical width must be a whole multiple of the cell's physical width.";
  EXPECT_EQ(Texts(), (std::vector<std::string>{wholeMultiple, wholeMultiple, wholeMultiple}));
  EXPECT_FALSE(doc_->Grid.IsDefined(clsGrid::kResults));  // Apply did not run
  EXPECT_EQ(cellWidth->text(), "3");
  EXPECT_TRUE(frame_.ViewItemChecked(ViewMenuItem::GridAnalyzeBox));
  cellWidth->selectAll();
  QTest::keyClicks(cellWidth, "5");
  Button("cmdClose")->click();
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(doc_->Grid.CellCountX, 8);
  EXPECT_FALSE(frame_.ViewItemChecked(ViewMenuItem::GridAnalyzeBox));
}

TEST_F(frmAnalyzeGridTest, EveryCommandARefusedEditHoldsUpWarnsAgainAndKeepsTheFocusThere) {
  window_.ShowCurrentGridData();
  TypeInto(window_.Field(GridField::GridWidth), "40");
  TypeInto(window_.Field(GridField::CellWidth), "10");
  TypeInto(window_.Field(GridField::CellHeight), "10");
  doc_->Grid.SetBounds(60, 60, 140, 140);
  window_.ShowCurrentGridData();
  frame_.SetViewItemChecked(ViewMenuItem::GridAnalyzeBox, true);

  // Cell width 0, then Tab: the edit's own Warning.
  QLineEdit* cellWidth = window_.Field(GridField::CellWidth);
  const std::string refusal = "The width of a grid cell must be greater than zero.";
  messages_.Clear();
  cellWidth->setFocus();
  cellWidth->selectAll();
  QTest::keyClicks(cellWidth, "0");
  QTest::keyClick(cellWidth, Qt::Key_Tab);
  EXPECT_EQ(Texts(), std::vector<std::string>{refusal});
  QApplication::processEvents();
  ASSERT_TRUE(cellWidth->hasFocus());

  const struct {
    const char* name;
    std::function<void()> command;
  } commands[] = {
      {"Close", [&] { Button("cmdClose")->click(); }},
      {"Close again", [&] { Button("cmdClose")->click(); }},
      {"the title bar's close", [&] { window_.close(); }},
      {"Apply", [&] { Button("cmdApply")->click(); }},
      {"Clear", [&] { Button("cmdGridClear")->click(); }},
      {"Verify RMS", [&] { Check("chkGridUseRMS")->click(); }},
  };
  for (const auto& c : commands) {
    messages_.Clear();
    c.command();
    QApplication::processEvents();
    EXPECT_EQ(Texts(), std::vector<std::string>{refusal}) << c.name;
    ASSERT_EQ(messages_.Messages().size(), 1u) << c.name;
    EXPECT_EQ(messages_.Messages()[0].title, "Warning") << c.name;
    EXPECT_TRUE(cellWidth->hasFocus()) << c.name;
    EXPECT_EQ(cellWidth->text(), "0") << c.name;
    EXPECT_TRUE(window_.isVisible()) << c.name;
  }
  // Nothing ran behind the warnings.
  EXPECT_EQ(doc_->Grid.CellPhysicalWidth, 10);
  EXPECT_TRUE(doc_->Grid.IsDefined(clsGrid::kPixelRectangle));
  EXPECT_FALSE(doc_->Grid.IsDefined(clsGrid::kResults));
  EXPECT_TRUE(Check("chkGridUseRMS")->isChecked());
  EXPECT_TRUE(frame_.ViewItemChecked(ViewMenuItem::GridAnalyzeBox));
}

// The result windows as the program makes them, in a real MDI area.
class ResultWindowsFrame : public MdiTestHost {
 public:
  std::unique_ptr<DocumentViews> CreateDocumentViews(clsDocument&) override {
    return std::make_unique<ResultDocumentViews>(*this, Area());
  }
};

// A document whose fit is one wave of defocus, not removed, with a 4 x 4 grid of 20-pixel
// cells over the middle of the pupil (radius 80 pixels). In pupil units each cell is a
// quarter wide; with W = 2 r^2 - 1 the four centre cells span r^2 from 0 to 1/8 (P-V
// 0.25), the edge cells 1/16 to 5/16 (0.5) and the corner cells 1/8 to 1/2 (0.75).
TEST(GridPassFailTest, APVLimitBetweenTheCentreAndOuterCellsFailsExactlyTheOuterCells) {
  GeneralSettings settings = DefaultDocumentSettings();
  ScriptedMessageService messages;
  ScopedMessageService installedMessages(messages);
  MemorySettingsStore store;
  ScopedSettingsStore installedStore(store);
  ResultWindowsFrame frame;
  DocumentTable table(settings, &frame);
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table.NewDocument(doc));
  const Pupil pupil;
  GiveImageAndAperture(*doc, pupil);
  ASSERT_TRUE(doc->CreateView(1));
  AddContourFringes(*doc, pupil, AnalyzeTestWavefront());
  table.ActiveDocIndex = doc->ovDocIndex;
  AnalyzeControls controls;
  controls.Remove = {true, false, false, false, false};
  controls.ScaleFactorOption = scaleoption::kOne;
  ASSERT_EQ(ApplyAnalysis(table, controls, frame), ApplyOutcome::Analysed);
  ZernikeVector defocus{};
  defocus[3] = 1.0;
  doc->SetZernikes(defocus);  // the fit is exactly the known defocus
  doc->UpdateAnalysis(false, false);

  frmAnalyzeGrid window(frame, table, nullptr);
  window.Load();
  window.show();
  QApplication::setActiveWindow(&window);
  TypeInto(window.Field(GridField::GridWidth), "40");
  TypeInto(window.Field(GridField::CellWidth), "10");
  TypeInto(window.Field(GridField::CellHeight), "10");
  window.findChild<QPushButton*>("cmdGridAdd")->click();
  doc->Grid.SetBounds(60, 60, 140, 140);  // the two clicks
  window.ShowCurrentGridData();
  window.findChild<QCheckBox*>("chkGridUseRMS")->click();
  TypeInto(window.Field(GridField::MaxPV), "0.375");
  window.findChild<QPushButton*>("cmdApply")->click();
  ASSERT_TRUE(messages.Messages().empty());

  std::int32_t failed = 0;
  for (std::int32_t y = 0; y < 4; ++y) {
    for (std::int32_t x = 0; x < 4; ++x) {
      double rms = 0, pv = 0;
      std::int32_t status = 0;
      ASSERT_TRUE(doc->Grid.GetCellMeasurements(x, y, rms, pv, status));
      const bool centre = (x == 1 || x == 2) && (y == 1 || y == 2);
      const bool corner = (x == 0 || x == 3) && (y == 0 || y == 3);
      // Sampled on the 100 x 100 evaluation grid, a cell's extremes lie up to two
      // pixels inside it.
      EXPECT_NEAR(pv, centre ? 0.25 : corner ? 0.75 : 0.5, 0.12) << x << "," << y;
      EXPECT_EQ(status, centre ? clsGrid::kWithinLimits : clsGrid::kOutsideLimits) << x << "," << y;
      failed += status == clsGrid::kOutsideLimits;
    }
  }
  EXPECT_EQ(failed, 12);

  // The Grid Results window says so.
  EXPECT_EQ(frame.Count("mnuViewGridResults_Click"), 1);  // it was asked to show
  const std::string text = doc->Views().ViewText(viewtype::kGridResults);
  EXPECT_NE(text.find("Maximum Acceptable P-V:\t 0.3750"), std::string::npos) << text;
  EXPECT_NE(text.find("RMS Measurement Not Considered"), std::string::npos);
  EXPECT_NE(text.find("25.00% of cells usable"), std::string::npos);
  for (const char* line : {"(1, 1)", "(2, 2)"})
    EXPECT_NE(text.find(line), std::string::npos);
  std::size_t passes = 0, fails = 0;
  for (std::size_t at = text.find("PASS"); at != std::string::npos; at = text.find("PASS", at + 1)) ++passes;
  for (std::size_t at = text.find("FAIL"); at != std::string::npos; at = text.find("FAIL", at + 1)) ++fails;
  EXPECT_EQ(passes, 4u);
  EXPECT_EQ(fails, 12u);
  table.ActiveDocIndex = 0;
}

}  // namespace
}  // namespace orvale::testing
