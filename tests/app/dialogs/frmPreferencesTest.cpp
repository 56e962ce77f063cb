#include "app/dialogs/frmPreferences.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <filesystem>

#include "DialogTestSupport.h"
#include "app/dialogs/GrabberSelection.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/com/PluginLibrary.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/FontDialogService.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/ScreenTwips.h"
#include "tests/app/document/DocumentModelTestSupport.h"
#include "tests/support/RecordingMainFrame.h"
#include "tests/support/TempConfigHome.h"

namespace orvale::testing {
namespace {

class frmPreferencesTest : public ::testing::Test {
 protected:
  frmPreferencesTest() { settings_.GrabAspectRatio = 1.0; }
  std::unique_ptr<frmPreferences> Open() {
    auto dialog = std::make_unique<frmPreferences>(settings_, grabber_, table_, frame_, nullptr);
    dialog->show();
    return dialog;
  }
  // A document with headless windows whose surface view is shown.
  clsDocument& OpenAnalysedDocument() {
    clsDocument* doc = nullptr;
    EXPECT_TRUE(table_.NewDocument(doc));
    doc->SetImageData(std::vector<std::uint8_t>(32 * 32, 50), 32, 32);
    EXPECT_TRUE(doc->CreateView(1));
    EXPECT_TRUE(doc->CreateView(2));
    doc->SurfacePlotViewVisible = true;
    doc->OutputViews_ShowNoActivate(false);
    table_.ActiveDocIndex = doc->ovDocIndex;
    return *doc;
  }

  MemorySettingsStore store_;
  ScopedSettingsStore installedStore_{store_};
  ScriptedMessageService messages_;
  ScopedMessageService installedMessages_{messages_};
  ScriptedFontDialogService fonts_;
  ScopedFontDialogService installedFonts_{fonts_};
  GeneralSettings settings_ = DefaultDocumentSettings();
  GrabberState grabber_;
  RecordingMainFrame frame_;
  DocumentTable table_{settings_, &frame_};
};

TEST_F(frmPreferencesTest, ShowsTheSettingsOnTheTabLeftLastTime) {
  GetSettingLong("CurrentVersion", "PreferencesTab", 1, 2, 1);
  SaveSettingLong("CurrentVersion", "PreferencesTab", 2);
  grabber_.GrabberNames[1] = "Fake";
  grabber_.GrabberNames[2] = "Other";
  grabber_.GrabberName = "Other";
  settings_.AutoTraceDensity = 2;
  settings_.DefaultDrawMeshWithFill = false;
  settings_.ResultWindowVisible = {true, false, false, true, true, false, false};
  auto dialog = Open();

  EXPECT_EQ(dialog->windowTitle(), "Preferences");
  auto* tabs = Child<QTabWidget>(*dialog, "tbsPreferences");
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(tabs->tabText(0), "General");
  auto* plugins = Child<QComboBox>(*dialog, "cboGrabCard");
  EXPECT_EQ(plugins->count(), 3);
  EXPECT_EQ(plugins->itemText(0), "None");
  EXPECT_EQ(plugins->currentText(), "Other");
  auto* density = Child<QComboBox>(*dialog, "cboFringeDensity");
  EXPECT_EQ(density->currentText(), "Fine");
  EXPECT_EQ(density->itemData(3).toInt(), 4);
  EXPECT_EQ(Child<QLineEdit>(*dialog, "txtAspectRatio")->text(), "1");
  EXPECT_TRUE(Child<QRadioButton>(*dialog, "optWindowShare0")->isChecked());
  EXPECT_TRUE(Child<QCheckBox>(*dialog, "chkViews0")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>(*dialog, "chkViews2")->isChecked());
  EXPECT_TRUE(Child<QCheckBox>(*dialog, "chkViews3")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>(*dialog, "chkDrawBlackMesh")->isChecked());
  EXPECT_EQ(Child<QSpinBox>(*dialog, "txtSurfaceTheta")->value(), 60);
  EXPECT_EQ(Child<QSpinBox>(*dialog, "txtSurfaceTheta")->maximum(), 359);
  EXPECT_EQ(Child<QSpinBox>(*dialog, "txtSurfacePhi")->maximum(), 90);
  EXPECT_EQ(Child<QSpinBox>(*dialog, "txtLinePoints")->minimum(), 20);
}

TEST_F(frmPreferencesTest, OnlyDigitsWithinTheRangeAndThePointInTheAspectRatioCanBeTyped) {
  auto dialog = Open();
  struct Case {
    const char* box;
    const char* keys;
    int value;
  };
  const Case numbers[] = {
      {"txtSurfaceLevels", "abc", 10}, {"txtSurfaceLevels", "2.5", 25},
      {"txtSurfaceSize", "99999", 99}, {"txtSurfacePhi", "-45", 45},
      {"txtSurfaceTheta", "360", 36},  {"txtLineAngle", "1e2", 12},
  };
  for (const Case& c : numbers) {
    TypeInto(Child<QSpinBox>(*dialog, c.box), c.keys);
    EXPECT_EQ(Child<QSpinBox>(*dialog, c.box)->value(), c.value) << c.box << " " << c.keys;
  }
  QLineEdit* ratio = Child<QLineEdit>(*dialog, "txtAspectRatio");
  TypeInto(ratio, "1,5");
  EXPECT_EQ(ratio->text(), "15");
  TypeInto(ratio, "1.5");
  EXPECT_EQ(ratio->text(), "1.5");
  Click(*dialog, "cmdOK");
  EXPECT_EQ(settings_.SurfaceLevels, 25);
  EXPECT_EQ(settings_.SurfaceGridSize, 99);
  EXPECT_EQ(settings_.DefaultSurfacePhi, 45);
  EXPECT_EQ(settings_.GrabAspectRatio, 1.5);
}

TEST_F(frmPreferencesTest, ABadAspectRatioKeepsTheDialogOpenAndStoresNothing) {
  auto dialog = Open();
  Child<QTabWidget>(*dialog, "tbsPreferences")->setCurrentIndex(1);
  TypeInto(Child<QSpinBox>(*dialog, "txtSurfaceLevels"), "50");
  for (const char* text : {"", ".", "5000", "0.001", "1.2.3"}) {
    messages_.Clear();
    Child<QLineEdit>(*dialog, "txtAspectRatio")->setText(text);
    const GeneralSettings before = settings_;
    Click(*dialog, "cmdOK");
    ASSERT_EQ(messages_.Messages().size(), 1u) << text;
    EXPECT_EQ(messages_.Messages()[0].title, "Warning");
    EXPECT_TRUE(dialog->isVisible()) << text;
    EXPECT_EQ(settings_, before) << text;
    EXPECT_EQ(Child<QTabWidget>(*dialog, "tbsPreferences")->currentIndex(), 0);
  }
  EXPECT_EQ(GetSettingString("CurrentVersion", "PreferencesLeft", "none"), "none");
}

TEST_F(frmPreferencesTest, UntickingFillLocksTheMeshAndOkKeepsItsStoredFlag) {
  auto dialog = Open();
  auto* fill = Child<QCheckBox>(*dialog, "chkFillPolygons");
  auto* mesh = Child<QCheckBox>(*dialog, "chkDrawBlackMesh");
  EXPECT_TRUE(mesh->isEnabled());
  fill->click();
  EXPECT_FALSE(mesh->isEnabled());
  mesh->setChecked(false);
  Click(*dialog, "cmdOK");
  EXPECT_FALSE(settings_.DefaultFillPolygons);
  EXPECT_TRUE(settings_.DefaultDrawMeshWithFill);
}

TEST_F(frmPreferencesTest, AFontChangeIsTakenOnlyByOk) {
  const TextStyleSettings screen = settings_.ScreenText;
  fonts_.QueueChoice({"Liberation Mono", 0, true, false, false, 0x00FF00});
  auto dialog = Open();
  Click(*dialog, "cmdFontScreen");
  ASSERT_EQ(fonts_.Requests().size(), 1u);
  EXPECT_EQ(fonts_.Requests()[0].Title, "Screen Font");
  EXPECT_EQ(fonts_.Requests()[0].Flags, 0x10501u);
  EXPECT_EQ(fonts_.Requests()[0].Initial.FaceName, "Arial");
  Click(*dialog, "cmdCancel");
  EXPECT_EQ(settings_.ScreenText, screen);

  fonts_.QueueChoice({"Liberation Mono", 0, true, false, false, 0x00FF00});
  dialog = Open();
  Click(*dialog, "cmdFontScreen");
  Click(*dialog, "cmdFontPrinter");  // cancelled: the printer style stays
  EXPECT_EQ(fonts_.Requests()[2].Flags, 0x10503u);
  const TextStyleSettings printer = settings_.PrinterText;
  Click(*dialog, "cmdOK");
  EXPECT_EQ(settings_.ScreenText.FaceName, FixedFaceName("Liberation Mono"));
  EXPECT_EQ(settings_.ScreenText.Size, 1);  // the dialog's 0 is held to 1..72
  EXPECT_TRUE(settings_.ScreenText.Bold);
  EXPECT_EQ(settings_.ScreenText.Color, 0x00FF00);
  EXPECT_EQ(settings_.PrinterText, printer);
}

TEST_F(frmPreferencesTest, OkStoresThePlaceAndTabAndHelpKeepsTheDialogOpen) {
  auto dialog = Open();
  Click(*dialog, "cmdHelp");  // no help folder beside the test: it says so
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text,
            "The help cannot be shown: " + QCoreApplication::applicationDirPath().toStdString() +
                "/help/index.html is missing.");
  messages_.Clear();
  EXPECT_TRUE(dialog->isVisible());
  Child<QTabWidget>(*dialog, "tbsPreferences")->setCurrentIndex(1);
  Click(*dialog, "cmdOK");
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(GetSettingLong("CurrentVersion", "PreferencesTab", 1, 2, 0), 2);
  EXPECT_EQ(GetSettingLong("CurrentVersion", "PreferencesTop", 0, 100000, -1),
            PixelsToTwips(dialog->pos().y()));
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(frmPreferencesTest, AWorkspaceChangeRearrangesTheWindowsAtOnce) {
  clsDocument& other = OpenAnalysedDocument();
  clsDocument& active = OpenAnalysedDocument();
  settings_.HogWindows = true;
  other.OutputViews_HideAll();
  other.Views().WindowCalls().Clear();

  auto dialog = Open();
  Child<QRadioButton>(*dialog, "optWindowShare1")->click();
  Click(*dialog, "cmdOK");
  EXPECT_FALSE(settings_.HogWindows);
  EXPECT_TRUE(other.Views().Window(viewtype::kSurfacePlot)->IsShown());

  dialog = Open();
  Child<QRadioButton>(*dialog, "optWindowShare0")->click();
  Click(*dialog, "cmdOK");
  EXPECT_TRUE(settings_.HogWindows);
  EXPECT_FALSE(other.Views().Window(viewtype::kSurfacePlot)->IsShown());
  EXPECT_TRUE(active.Views().Window(viewtype::kSurfacePlot)->IsShown());
}

// The fake plug-in libraries, found and registered as the program finds its own.
TEST_F(frmPreferencesTest, APluginThatFailsToStartIsReportedAndTheProgramGoesOnWithNone) {
  TempConfigHome home;
  const std::filesystem::path plugins = ORVALE_FAKE_PLUGIN_DIR;
  FindGrabberPlugins(grabber_, plugins);
  for (const char* name : {"Fake", "Failing"}) {
    std::string error;
    ASSERT_TRUE(RegisterServer(plugins / ("OVVGPlug" + std::string(name) + ".so"), error)) << error;
  }
  auto dialog = Open();
  auto* list = Child<QComboBox>(*dialog, "cboGrabCard");
  list->setCurrentIndex(list->findText("Failing"));
  Click(*dialog, "cmdOK");

  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, "The fake camera did not start.");
  EXPECT_EQ(messages_.Messages()[0].title, "Error Loading Frame Grabber");
  EXPECT_EQ(grabber_.GrabberName, "None");
  EXPECT_EQ(grabber_.Grabber, nullptr);
  EXPECT_EQ(frame_.Count("SetMenuItems 0"), 1);

  // The program goes on: the next choice works at once.
  dialog = Open();
  EXPECT_EQ(Child<QComboBox>(*dialog, "cboGrabCard")->currentText(), "None");
  list = Child<QComboBox>(*dialog, "cboGrabCard");
  list->setCurrentIndex(list->findText("Fake"));
  Click(*dialog, "cmdOK");
  EXPECT_EQ(grabber_.GrabberName, "Fake");
  EXPECT_TRUE(grabber_.GrabberCreated && grabber_.GrabberReady);
  ReleaseGrabber(grabber_);
  EXPECT_EQ(messages_.Messages().size(), 1u);
}

}  // namespace
}  // namespace orvale::testing
