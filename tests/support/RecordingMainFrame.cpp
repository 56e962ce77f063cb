#include "tests/support/RecordingMainFrame.h"

#include <algorithm>
#include <array>

#include "app/document/clsDocument.h"

namespace orvale::testing {

namespace {

constexpr std::array<std::int32_t, 10> kZoomList = {1600, 800, 400, 300, 200, 150, 100, 75, 50, 25};

std::string Flag(bool value) { return value ? "1" : "0"; }

}  // namespace

RecordingMainFrame::RecordingMainFrame() {
  checks[ViewMenuItem::Toolbar] = true;
  checks[ViewMenuItem::StatusBar] = true;
  checks[ViewMenuItem::ToolBox] = true;
  checks[ViewMenuItem::AnalyzeBox] = true;
}

void RecordingMainFrame::SetBusyPointer(bool busy) { calls.push_back("SetBusyPointer " + Flag(busy)); }
void RecordingMainFrame::SetStatusBar() { calls.push_back("SetStatusBar"); }
void RecordingMainFrame::SetMenuItems(bool ForceOff) { calls.push_back("SetMenuItems " + Flag(ForceOff)); }
void RecordingMainFrame::SetToolBarItems(bool ForceOff) {
  calls.push_back("SetToolBarItems " + Flag(ForceOff));
}
void RecordingMainFrame::SaveWindowLayout() { calls.push_back("SaveWindowLayout"); }
void RecordingMainFrame::ShowCurrentGridData() { calls.push_back("ShowCurrentGridData"); }

void RecordingMainFrame::UpdateMainFrame(std::int32_t WindowType, double ScaleFactor,
                                         bool EditMode) {
  calls.push_back("UpdateMainFrame " + std::to_string(WindowType) + " " +
                  std::to_string(ScaleFactor) + " " + Flag(EditMode));
}

void RecordingMainFrame::StoreWindowLayout(clsDocument& doc) {
  calls.push_back("StoreWindowLayout " + std::to_string(doc.ovDocIndex));
}

void RecordingMainFrame::UpdateToolBar() { calls.push_back("UpdateToolBar"); }
void RecordingMainFrame::SetToolBarZoomItems(bool ForceOff) {
  calls.push_back("SetToolBarZoomItems " + Flag(ForceOff));
}

bool RecordingMainFrame::ViewItemChecked(ViewMenuItem item) const {
  const auto found = checks.find(item);
  return found != checks.end() && found->second;
}

void RecordingMainFrame::SetViewItemChecked(ViewMenuItem item, bool checked) {
  checks[item] = checked;
  calls.push_back("SetViewItemChecked " + std::to_string(static_cast<int>(item)) + " " +
                  Flag(checked));
}

void RecordingMainFrame::mnuViewGridResults_Click() { calls.push_back("mnuViewGridResults_Click"); }

void RecordingMainFrame::SetEditToolPressed(bool edit) {
  editTool = edit;
  calls.push_back("SetEditToolPressed " + Flag(edit));
}

std::int32_t RecordingMainFrame::ZoomListCount() const {
  return static_cast<std::int32_t>(kZoomList.size());
}

std::int32_t RecordingMainFrame::ZoomListItemData(std::int32_t index) const {
  if (index < 0 || index >= ZoomListCount()) return 0;
  return kZoomList[static_cast<std::size_t>(index)];
}

void RecordingMainFrame::SelectZoomListIndex(std::int32_t index) {
  if (index >= 0 && index < ZoomListCount()) zoomIndex = index;
  calls.push_back("SelectZoomListIndex " + std::to_string(index));
}

void RecordingMainFrame::ShowZoomPercent(std::int32_t percent) {
  const auto entry = std::find(kZoomList.begin(), kZoomList.end(), percent);
  constexpr std::int32_t kHundred = 6;
  zoomIndex = entry != kZoomList.end() ? static_cast<std::int32_t>(entry - kZoomList.begin()) : kHundred;
  calls.push_back("ShowZoomPercent " + std::to_string(percent));
}

void RecordingMainFrame::SetStatusPanelText(std::int32_t panel, const std::string& text) {
  if (panel >= 1 && panel <= 4) panels[static_cast<std::size_t>(panel)] = text;
  calls.push_back("SetStatusPanelText " + std::to_string(panel) + " " + text);
}

void RecordingMainFrame::SetScreenPointer(std::string_view key) {
  screenPointer = std::string(key);
  calls.push_back("SetScreenPointer " + screenPointer);
}

void RecordingMainFrame::ShowFringePopup(const FringePopupRequest& request) {
  popups.push_back(request);
  calls.push_back("ShowFringePopup");
}

void RecordingMainFrame::BringViewToFront(clsDocument& doc, std::int32_t formType) {
  calls.push_back("BringViewToFront " + std::to_string(doc.ovDocIndex) + " " +
                  std::to_string(formType));
  MainFrame::BringViewToFront(doc, formType);
}

int RecordingMainFrame::Count(const std::string& prefix) const {
  int n = 0;
  for (const auto& line : calls)
    if (line.rfind(prefix, 0) == 0) ++n;
  return n;
}

}  // namespace orvale::testing
