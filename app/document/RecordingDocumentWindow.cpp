#include "app/document/RecordingDocumentWindow.h"

namespace orvale {

namespace {

std::string Rectangle(const WindowPlacement& p) {
  return std::to_string(p.Left) + " " + std::to_string(p.Top) + " " + std::to_string(p.Width) +
         " " + std::to_string(p.Height);
}

}  // namespace

int WindowCallLog::Count(const std::string& prefix) const {
  int n = 0;
  for (const auto& line : Calls)
    if (line.rfind(prefix, 0) == 0) ++n;
  return n;
}

RecordingDocumentWindow::RecordingDocumentWindow(std::int32_t formType, WindowCallLog& log)
    : formType_(formType), log_(&log) {}

RecordingDocumentWindow::~RecordingDocumentWindow() {
  if (log_->Active == formType_) log_->Active = 0;
  Log("Unload");
}

void RecordingDocumentWindow::Log(const std::string& line) {
  const auto space = line.find(' ');
  const std::string code = std::to_string(formType_);
  log_->Calls.push_back(space == std::string::npos ? line + " " + code
                                                    : line.substr(0, space) + " " + code +
                                                          line.substr(space));
}

void RecordingDocumentWindow::ComeToTop() { order_ = ++log_->TopOfOrder; }

void RecordingDocumentWindow::Load(const WindowPlacement& placement) {
  if (loaded_) return;
  loaded_ = true;
  // Without a size the window system would choose one; the placement already held stays.
  if (placement.Width >= 1 && placement.Height >= 1) placement_ = placement;
  Log("Load " + Rectangle(placement_));
}

void RecordingDocumentWindow::Show(bool activate, bool raise) {
  shown_ = true;
  if (activate) {
    log_->Active = formType_;
    ComeToTop();
  } else if (raise) {
    ComeToTop();
  }
  Log(std::string("Show") + (activate ? " activate" : raise ? " raise" : ""));
}

void RecordingDocumentWindow::Hide() {
  shown_ = false;
  if (log_->Active == formType_) log_->Active = 0;
  Log("Hide");
}

void RecordingDocumentWindow::SetPlacement(const WindowPlacement& placement) {
  placement_ = placement;
  Log("Place " + Rectangle(placement));
}

void RecordingDocumentWindow::Move(std::int32_t left, std::int32_t top) {
  placement_.Left = left;
  placement_.Top = top;
  Log("Move " + std::to_string(left) + " " + std::to_string(top));
}

void RecordingDocumentWindow::ShowNormal() {
  state_ = WindowShowState::Normal;
  Log("ShowNormal " + std::to_string(formType_));
}

void RecordingDocumentWindow::BringToTop(bool activate) {
  if (shown_) {
    ComeToTop();
    if (activate) log_->Active = formType_;
  }
  Log(std::string("Top") + (activate ? " activate" : ""));
}

void RecordingDocumentWindow::Repaint() { Log("Repaint"); }

void RecordingDocumentWindow::SetCaption(const std::string& caption) {
  caption_ = caption;
  Log("Caption " + caption);
}

}  // namespace orvale
