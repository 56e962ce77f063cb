#pragma once
// A main window for tests: it keeps what the real one would show (check marks, status
// panels, the zoom list, the pressed tool) and logs every call in order, one line
// each, so that tests can assert on both.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/document/MainFrame.h"

namespace orvale::testing {

class RecordingMainFrame : public MainFrame {
 public:
  RecordingMainFrame();

  // DocumentHost
  void SetBusyPointer(bool busy) override;
  void SetStatusBar() override;
  void SetMenuItems(bool ForceOff) override;
  void SetToolBarItems(bool ForceOff) override;
  void SaveWindowLayout() override;
  void ShowCurrentGridData() override;

  // MainFrame
  void UpdateMainFrame(std::int32_t WindowType, double ScaleFactor, bool EditMode) override;
  void StoreWindowLayout(clsDocument& doc) override;
  void UpdateToolBar() override;
  void SetToolBarZoomItems(bool ForceOff) override;
  bool ViewItemChecked(ViewMenuItem item) const override;
  void SetViewItemChecked(ViewMenuItem item, bool checked) override;
  void mnuViewGridResults_Click() override;
  void SetEditToolPressed(bool edit) override;
  bool EditToolPressed() const override { return editTool; }
  std::int32_t ZoomListCount() const override;
  std::int32_t ZoomListIndex() const override { return zoomIndex; }
  std::int32_t ZoomListItemData(std::int32_t index) const override;
  void SelectZoomListIndex(std::int32_t index) override;
  void ShowZoomPercent(std::int32_t percent) override;
  void SetStatusPanelText(std::int32_t panel, const std::string& text) override;
  void SetScreenPointer(std::string_view key) override;
  void ShowFringePopup(const FringePopupRequest& request) override;
  void BringViewToFront(clsDocument& doc, std::int32_t formType) override;

  // The log, one line per call: "UpdateMainFrame 1 2 1", "SetViewItemChecked 8 0", ...
  std::vector<std::string> calls;
  // How many logged lines start with `prefix`.
  int Count(const std::string& prefix) const;
  void ClearLog() { calls.clear(); }

  std::map<ViewMenuItem, bool> checks;
  std::array<std::string, 5> panels;  // 1..4
  std::int32_t zoomIndex = 6;         // "100%"
  bool editTool = true;
  std::string screenPointer;
  std::vector<FringePopupRequest> popups;
};

}  // namespace orvale::testing
