#include "app/imageview/Toolbox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "app/dialogs/NumberInput.h"
#include "app/imageview/ToolboxShapes.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "tests/app/imageview/ImageViewHost.h"

namespace orvale {
namespace {

using testing::ImageViewHost;
using testing::OpenPattern;

void SetCircleOn(clsShape& shape) {
  shape.SetShapeType(clsShape::kCircle);
  shape.SetCenter(100, 100);
  shape.SetRadii(30, 30);
}

// Installs scripted number input for a test and removes it again.
class ScopedNumberInput {
 public:
  explicit ScopedNumberInput(NumberInputService& service) { SetNumberInputService(&service); }
  ~ScopedNumberInput() { SetNumberInputService(nullptr); }
};

class ToolboxTest : public ::testing::Test {
 protected:
  ToolboxTest()
      : settings(testing::ViewTestSettings()), table(settings, &host), toolbox(table, host, nullptr) {
    host.toolbox = &toolbox;
    doc = OpenPattern(table, 200, 200);
    editor = ImageEditorOf(*doc);
    host.ClearLog();
  }
  ~ToolboxTest() override {
    for (auto& slot : table.Documents) slot.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  template <class T>
  T* Control(const char* name) {
    T* control = toolbox.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Click(const char* button) { Control<QPushButton>(button)->click(); }
  bool Enabled(const char* name) { return Control<QWidget>(name)->isEnabled(); }
  void ClickImage(int x, int y) {
    QTest::mouseClick(ImageViewOf(*doc), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  }
  // A point clicked in fringe mode that is not recorded yet.
  void PendingClick(double x, double y) {
    editor->newMouseClicks = 99;
    editor->MouseDown(mousebutton::kLeft, 0, x, y);
    editor->newMouseClicks = 1;
  }
  std::int32_t Ticks(std::int32_t order) {
    std::int32_t index = kNoOrder;
    return doc->Fringes.GetNumTicks(order, index);
  }

  MemorySettingsStore store;
  ScopedSettingsStore installedStore{store};
  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
  ScriptedNumberInputService numbers;
  ScopedNumberInput installedNumbers{numbers};
  GeneralSettings settings;
  ImageViewHost host;
  DocumentTable table;
  Toolbox toolbox;
  clsDocument* doc = nullptr;
  ImageEditController* editor = nullptr;
};

TEST_F(ToolboxTest, AddApertureLeavesOnlyItsClearEnabledUntilTheOutlineIsDone) {
  Control<QComboBox>("cboAperture")->setCurrentIndex(0);  // circle
  Click("cmdApertureAdd");
  EXPECT_EQ(editor->newDrawingObject, drawing::kAperture);
  EXPECT_EQ(editor->newMouseClicks, 4);
  EXPECT_TRUE(host.editTool);
  EXPECT_EQ(host.screenPointer, "curAddShape");
  EXPECT_GE(host.Count("SetToolBarItems 0"), 1);
  EXPECT_GE(host.Count("BringViewToFront"), 1);
  EXPECT_TRUE(Enabled("cmdApertureClear"));
  for (const char* name : {"cmdApertureAdd", "cmdObstructionClear", "txtOrder", "cmdInsert",
                           "cboObstruction", "cmdApertureSave", "lblOrder"}) {
    EXPECT_FALSE(Enabled(name)) << name;
  }
  for (const QPoint p : {QPoint(60, 100), QPoint(140, 100), QPoint(100, 60), QPoint(100, 140)})
    ClickImage(p.x(), p.y());
  EXPECT_EQ(doc->Aperture.GetShapeType(), clsShape::kCircle);
  for (const char* name : {"cmdApertureAdd", "cmdObstructionClear", "txtOrder", "cmdRenumber"})
    EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_EQ(host.screenPointer, "");
}

TEST_F(ToolboxTest, ClearDuringADrawingEndsItAndRemovesTheOutline) {
  SetCircleOn(doc->Obstruction);
  Control<QComboBox>("cboObstruction")->setCurrentIndex(2);  // polygon
  Click("cmdObstructionAdd");
  EXPECT_EQ(editor->newMouseClicks, 50);
  EXPECT_EQ(doc->Obstruction.GetShapeType(), clsShape::kNone);  // Add starts afresh
  ClickImage(50, 50);
  Click("cmdObstructionClear");
  EXPECT_EQ(editor->newDrawingObject, drawing::kFringeCenters);
  EXPECT_EQ(editor->newMouseClicks, 1);
  EXPECT_EQ(editor->ClickCount(), 0);
  EXPECT_EQ(host.screenPointer, "");
  EXPECT_TRUE(Enabled("cmdObstructionAdd"));
}

TEST_F(ToolboxTest, ClearLeftEnabledForAnotherDocumentOnlyEndsThatDrawing) {
  clsDocument* other = OpenPattern(table, 100, 100);
  SetCircleOn(other->Aperture);
  ImageViewOf(*doc)->Activate();
  Click("cmdApertureAdd");
  ClickImage(60, 100);
  // The other document becomes active through one of its output views.
  table.ActiveDocIndex = other->ovDocIndex;
  Click("cmdApertureClear");
  EXPECT_EQ(other->Aperture.GetShapeType(), clsShape::kCircle);  // not its drawing
  EXPECT_EQ(editor->newDrawingObject, drawing::kFringeCenters);
  EXPECT_EQ(editor->ClickCount(), 0);
  EXPECT_TRUE(Enabled("cmdApertureAdd"));
}

TEST_F(ToolboxTest, SelectOrderTakesOnly1To200AndRecordsThePendingFringeFirst) {
  EXPECT_EQ(toolbox.CurrentOrder(), 1);
  toolbox.SelectOrder(0);
  toolbox.SelectOrder(201);
  EXPECT_EQ(toolbox.CurrentOrder(), 1);
  PendingClick(20, 20);
  toolbox.SelectOrder(200);
  EXPECT_EQ(Ticks(1), 1);  // recorded under the order it was clicked with
  EXPECT_EQ(toolbox.CurrentOrder(), 200);
  EXPECT_EQ(Control<QSpinBox>("txtOrder")->text(), "200");
}

TEST_F(ToolboxTest, TypedOrderIsAlwaysOneTheStoreTakes) {
  QSpinBox* box = Control<QSpinBox>("txtOrder");
  doc->ActiveView = viewtype::kContourPlot;  // typing with another view of it active
  box->selectAll();
  QTest::keyClicks(box, "250");  // the 0 does not fit: 25
  EXPECT_EQ(toolbox.CurrentOrder(), 25);
  EXPECT_EQ(box->text(), "25");
  EXPECT_GE(host.Count("BringViewToFront " + std::to_string(doc->ovDocIndex) + " 1"), 1);

  box->selectAll();
  QTest::keyClick(box, Qt::Key_Backspace);  // empty: not an order
  EXPECT_EQ(toolbox.CurrentOrder(), 25);
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(box->text(), "25");
  QTest::keyClicks(box, "x");
  EXPECT_EQ(box->text(), "25");
}

TEST_F(ToolboxTest, RenumberAsksWithTheProposedOrderAndTellsOfOutOfRange) {
  std::vector<double> xs{0, 20}, ys{0, 20};
  doc->Fringes.InsertOrder(7, 1, xs, ys);
  toolbox.SelectOrder(7);
  numbers.QueueAnswer({false, false, 9, 9.0, "9"});
  Click("cmdRenumber");
  ASSERT_EQ(numbers.Requests().size(), 1u);
  const NumberInputRequest& asked = numbers.Requests()[0];
  EXPECT_EQ(asked.Caption, "Renumber Fringe");
  EXPECT_EQ(asked.Prompt, "Enter new fringe order:");
  EXPECT_EQ(asked.Text, "6");
  EXPECT_EQ(asked.MinimumL, 1);
  EXPECT_EQ(asked.MaximumL, 200);
  EXPECT_TRUE(asked.PositiveIntegerOnly);
  EXPECT_EQ(Ticks(9), 1);
  EXPECT_EQ(Ticks(7), kNoOrder);

  toolbox.SelectOrder(1);
  doc->DocDirty = false;
  numbers.QueueAnswer({false, true, 250, 250.0, "250"});
  Click("cmdRenumber");
  EXPECT_EQ(numbers.Requests().back().Text, "2");
  ASSERT_EQ(messages.Messages().size(), 1u);
  EXPECT_EQ(messages.Messages()[0].text, "New fringe order is out of range");
  EXPECT_EQ(messages.Messages()[0].title, "Bad Input");
  Click("cmdRenumber");  // cancelled: the queue is empty
  EXPECT_FALSE(doc->DocDirty);
  EXPECT_EQ(Ticks(9), 1);
}

TEST_F(ToolboxTest, InsertAndDeleteOrderRecordThePendingFringeFirst) {
  PendingClick(20, 20);
  Click("cmdInsert");  // recorded as order 1, which then moves up to 2
  EXPECT_EQ(Ticks(2), 1);
  EXPECT_EQ(Ticks(1), kNoOrder);
  toolbox.SelectOrder(2);
  Click("cmdRemove");
  EXPECT_EQ(doc->Fringes.TotalNumTicks(), 0);
}

TEST_F(ToolboxTest, LoadButtonMakesTheFitStaleButTheAutomaticLoadDoesNot) {
  SetCircleOn(doc->Aperture);
  Click("cmdApertureSave");
  EXPECT_EQ(GetSettingLong(kToolboxSection, "Aperture Save Type", 0, 3, 0), clsShape::kCircle);

  clsDocument* fresh = OpenPattern(table, 200, 200);
  ASSERT_TRUE(toolbox.LoadAperture(*fresh));  // what opening a picture does
  EXPECT_EQ(fresh->Aperture.GetShapeType(), clsShape::kCircle);
  EXPECT_FALSE(fresh->DocDirty);

  fresh->Aperture.Delete();
  fresh->ZAnalysis.MaskValid = true;
  fresh->AnalysisValid = true;
  Click("cmdApertureLoad");
  EXPECT_EQ(fresh->Aperture.GetShapeType(), clsShape::kCircle);
  EXPECT_FALSE(fresh->ZAnalysis.MaskValid);
  EXPECT_FALSE(fresh->AnalysisValid);
  EXPECT_TRUE(fresh->DocDirty);

  fresh->DocDirty = false;
  Click("cmdObstructionLoad");  // nothing stored: nothing changes
  EXPECT_FALSE(fresh->DocDirty);
}

TEST_F(ToolboxTest, UnloadWritesItsPlaceListsAndOrder) {
  Control<QComboBox>("cboAperture")->setCurrentIndex(2);
  Control<QComboBox>("cboObstruction")->setCurrentIndex(1);
  toolbox.SelectOrder(12);
  toolbox.Unload();
  EXPECT_EQ(GetSettingString(kToolboxSection, "Fringe Order", ""), "12");
  EXPECT_EQ(GetSettingLong(kToolboxSection, "Aperture Type", 1, 3, 1), 3);
  EXPECT_EQ(GetSettingLong(kToolboxSection, "Obstruction Type", 1, 3, 1), 2);
  EXPECT_NE(GetSettingString(kToolboxSection, "Left", ""), "");

  Toolbox reloaded(table, host, nullptr);
  EXPECT_EQ(reloaded.CurrentOrder(), 12);
  EXPECT_EQ(reloaded.ApertureTypeIndex(), 2);
  EXPECT_TRUE(reloaded.ToolBoxReady);
  EXPECT_EQ(reloaded.windowTitle(), "ToolBox");
}

TEST_F(ToolboxTest, CommandsWithoutADocumentDoNothing) {
  for (auto& slot : table.Documents) slot.reset();
  table.NumDocuments = 0;
  table.ActiveDocIndex = 0;
  host.ClearLog();
  for (const char* button : {"cmdApertureAdd", "cmdApertureClear", "cmdInsert", "cmdRemove",
                             "cmdRenumber", "cmdApertureLoad", "cmdObstructionSave"}) {
    Click(button);
  }
  toolbox.SelectOrder(5);
  EXPECT_EQ(toolbox.CurrentOrder(), 1);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_TRUE(numbers.Requests().empty());
}

}  // namespace
}  // namespace orvale
