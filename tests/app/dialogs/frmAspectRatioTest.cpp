#include "app/dialogs/frmAspectRatio.h"

#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "app/dialogs/AspectRatio.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/ui/MessageService.h"
#include "tests/app/document/DocumentModelTestSupport.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale::testing {
namespace {

class frmAspectRatioTest : public ::testing::Test {
 protected:
  clsDocument& OpenImage() {
    clsDocument* doc = nullptr;
    EXPECT_TRUE(table_.NewDocument(doc));
    doc->SetImageData(std::vector<std::uint8_t>(640 * 480, 77), 640, 480);
    table_.ActiveDocIndex = doc->ovDocIndex;
    return *doc;
  }
  std::pair<std::int32_t, std::int32_t> Size(const clsDocument& doc) const {
    std::int32_t width = 0, height = 0;
    doc.GetBufferSize(width, height);
    return {width, height};
  }
  QLineEdit* Field() const { return Child<QLineEdit>(dialog_, "txtAspectRatio"); }

  MemorySettingsStore store_;
  ScopedSettingsStore installedStore_{store_};
  ScriptedMessageService messages_;
  ScopedMessageService installedMessages_{messages_};
  GeneralSettings settings_ = [] {
    GeneralSettings s = DefaultDocumentSettings();
    s.ManualAspectRatio = 1.25;
    return s;
  }();
  RecordingMainFrame frame_;
  DocumentTable table_{settings_, &frame_};
  frmAspectRatio dialog_{settings_, table_, nullptr};
};

TEST_F(frmAspectRatioTest, TheFieldTakesOnlyDigitsAndThePoint) {
  EXPECT_EQ(dialog_.windowTitle(), "Adjust Aspect Ratio");
  EXPECT_EQ(Field()->text(), "1.25");
  const std::pair<const char*, const char*> cases[] = {
      {"1,5", "15"}, {"-2", "2"}, {"abc", "2"} /* nothing taken */, {"1e5", "15"},
      {"0.5", "0.5"}, {" 2", "2"}};
  for (const auto& [keys, kept] : cases) {
    TypeInto(Field(), keys);
    EXPECT_EQ(Field()->text(), kept) << keys;
  }
}

TEST_F(frmAspectRatioTest, OkWithoutADocumentDoesNothing) {
  dialog_.show();
  Field()->setText("2");
  Click(dialog_, "cmdOK");
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_EQ(settings_.ManualAspectRatio, 1.25);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(frmAspectRatioTest, ARatioBeyondTheRuleIsRefusedAndNothingChanges) {
  clsDocument& doc = OpenImage();
  dialog_.show();
  for (const char* text : {"250", "0.001", ".", "", "100.01", "1.2.3"}) {
    messages_.Clear();
    Field()->setText(text);
    Click(dialog_, "cmdOK");
    ASSERT_EQ(messages_.Messages().size(), 1u) << text;
    EXPECT_EQ(messages_.Messages()[0].title, "Warning");
    EXPECT_TRUE(dialog_.isVisible()) << text;
    EXPECT_EQ(Size(doc), std::make_pair(640, 480)) << text;
    EXPECT_EQ(settings_.ManualAspectRatio, 1.25) << text;
    EXPECT_FALSE(doc.BMPDirty);
  }
}

TEST_F(frmAspectRatioTest, TwoMakesTheImageTwiceAsWide) {
  clsDocument& doc = OpenImage();
  dialog_.show();
  Field()->setText("2");
  frame_.ClearLog();
  Click(dialog_, "cmdOK");
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
  EXPECT_EQ(Size(doc), std::make_pair(1280, 480));
  EXPECT_EQ(settings_.ManualAspectRatio, 2.0);
  EXPECT_EQ(frame_.Count("SetStatusBar"), 1);  // the status bar shows the new size
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(frmAspectRatioTest, ADocumentWithoutACameraImageIsNotClosedOverAsIfResampled) {
  clsDocument* doc = nullptr;
  ASSERT_TRUE(table_.NewDocument(doc));
  doc->LoadBlankImage(640, 480);  // as an average or a combination has
  table_.ActiveDocIndex = doc->ovDocIndex;
  dialog_.show();
  Field()->setText("2");
  Click(dialog_, "cmdOK");
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text, kCannotResampleWarning);
  EXPECT_EQ(messages_.Messages()[0].title, "Warning");
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_EQ(Size(*doc), std::make_pair(640, 480));
  EXPECT_FALSE(doc->BMPDirty);
}

TEST_F(frmAspectRatioTest, ZeroAndOneChangeNothingButAreTaken) {
  clsDocument& doc = OpenImage();
  for (const char* text : {"0", "1"}) {
    frmAspectRatio dialog(settings_, table_, nullptr);
    Child<QLineEdit>(dialog, "txtAspectRatio")->setText(text);
    Click(dialog, "cmdOK");
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << text;
    EXPECT_EQ(Size(doc), std::make_pair(640, 480)) << text;
  }
  EXPECT_EQ(settings_.ManualAspectRatio, 1.0);
}

}  // namespace
}  // namespace orvale::testing
