#pragma once
// The main window over scripted services for the frame suites: an in-memory settings
// store, scripted messages, file dialogs and saves, document views that record what
// the frame asks of them, and a fake grabber plug-in.
#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/document/DocumentViews.h"
#include "app/frame/frmMain.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/ui/FileDialogService.h"
#include "platform/ui/MessageService.h"
#include "tests/app/document/DocumentModelTestSupport.h"
#include "tests/support/FakeGrabberPlugin.h"

namespace orvale::testing {

// Views that log what the main window drives, and hold texts for Copy.
class LoggingViews : public DocumentViews {
 public:
  void SetViewZoom(std::int32_t formType, std::int32_t percent) override {
    log.push_back("Zoom " + std::to_string(formType) + " " + std::to_string(percent));
  }
  void SetMouseTool(std::int32_t formType, bool editMode) override {
    log.push_back("Tool " + std::to_string(formType) + (editMode ? " edit" : " hand"));
  }
  void DeleteFringeCenter(double, double) override { log.push_back("DeleteFringeCenter"); }
  void FocusView(std::int32_t formType) override { log.push_back("Focus " + std::to_string(formType)); }
  void OutputViews_UpdateVisibility(clsDocument&, bool Activate) override {
    log.push_back(Activate ? "UpdateVisibility 1" : "UpdateVisibility 0");
  }
  std::string ViewText(std::int32_t) const override { return text; }
  std::string ViewSelectedText(std::int32_t) const override { return selected; }

  std::vector<std::string> log;
  std::string text;
  std::string selected;
};

class FrameTest : public ::testing::Test {
 protected:
  FrameTest();
  ~FrameTest() override;

  frmMain& Frame() const { return *app_->FormMain; }
  DocumentTable& Table() const { return *app_->Documents; }
  // The menus and toolbar for the active document, as a view's activation sets them.
  void Refresh() const;
  // A new document of `width` x `height` with its image view, made the active one.
  clsDocument& AddDocument(std::int32_t width = 64, std::int32_t height = 48);
  LoggingViews& ViewsOf(clsDocument& doc) const;
  QAction* Item(const char* name) const;
  QAction* Button(int index) const { return Frame().ToolBarButton(index); }
  // Writes a small grey bitmap into the temporary folder; its full path.
  std::string WriteBitmap(const std::string& name) const;
  std::string Setting(const std::string& key) const;
  std::string StoreText() const;
  // Makes a fake plug-in the selected grabber; its calls are counted in the log.
  std::shared_ptr<FakeGrabberLog> InstallPlugin(bool ready, bool setupDlg);

  MemorySettingsStore store_;
  ScopedSettingsStore storeInstalled_{store_};
  ScriptedMessageService messages_;
  ScopedMessageService messagesInstalled_{messages_};
  ScriptedFileDialogService dialogs_;
  ScopedFileDialogService dialogsInstalled_{dialogs_};
  FakeSaveService saver_;
  ScopedDocumentSaveService saverInstalled_{saver_};
  QTemporaryDir folder_;
  std::unique_ptr<AppState> app_;
};

}  // namespace orvale::testing
