#pragma once
// Fixtures of the analysis-options suites: a document table with one analysable
// document (image, circular aperture, fringes of a known wavefront, image view), the
// recording main window, scripted messages and dialogs, settings in memory and a
// scratch folder for reference files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../document/DocumentModelTestSupport.h"
#include "app/document/DocumentTable.h"
#include "app/document/DocumentViews.h"
#include "app/document/clsDocument.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/SettingsStore.h"
#include "platform/ui/FileDialogService.h"
#include "platform/ui/MessageService.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale::testing {

// Output views that log what the document asks of them; any call can be made to fail.
class LoggingViews : public DocumentViews {
 public:
  bool CreateOutputViews(clsDocument& doc, double theta, double phi, std::int32_t angle) override;
  void OutputViews_Load(clsDocument& doc, bool TileViews) override;
  void OutputViews_UpdateVisibility(clsDocument& doc, bool Activate) override;
  void OutputViews_Refresh() override;

  std::vector<std::string> calls;  // "CreateOutputViews", "OutputViews_Load 1", ...
  bool createFails = false;
  std::function<void()> onRefresh;  // may throw
};

// A tilt, some defocus and astigmatism.
ZernikeVector AnalyzeTestWavefront();

class AnalyzeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A file in the scratch folder with exactly `text` in it.
  std::string WriteFile(const std::string& name, const std::string& text) const;
  // The texts of the messages shown so far.
  std::vector<std::string> Texts() const;
  // A ".zrn" text: the values one per line.
  static std::string ZrnText(const std::vector<double>& values);
  // A "Zernikes" line of a document file with `count` values 0.5, 1.5, ...
  static std::string ZernikesLine(int count);

  GeneralSettings settings_ = DefaultDocumentSettings();
  RecordingMainFrame frame_;
  DocumentTable table_{settings_, &frame_};
  ScriptedMessageService messages_;
  ScopedMessageService installedMessages_{messages_};
  ScriptedFileDialogService dialogs_;
  ScopedFileDialogService installedDialogs_{dialogs_};
  MemorySettingsStore store_;
  ScopedSettingsStore installedStore_{store_};
  std::filesystem::path dir_;
  Pupil pupil_;
  clsDocument* doc_ = nullptr;
  LoggingViews* views_ = nullptr;
  std::int32_t points_ = 0;
};

}  // namespace orvale::testing
