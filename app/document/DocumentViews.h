#pragma once
// The windows of one document as the document sees them: the image view and the seven
// output views. The Qt windows implement this; the base class is the headless stand-in
// used until they exist and in tests: it creates nothing on screen, but it keeps what a
// window would keep (placements, view angles, captions, the last data handed over), so
// that a document can be saved, read back and analysed without a display.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/registry/ResultWindowLayout.h"

namespace orvale {

class clsDocument;

// View codes (FormType) of a document's windows; 2 is given to no window.
namespace viewtype {
inline constexpr std::int32_t kImage = 1;
inline constexpr std::int32_t kSurfacePlot = 3;
inline constexpr std::int32_t kContourPlot = 4;
inline constexpr std::int32_t kLineProfile = 5;
inline constexpr std::int32_t kSFringe = 6;
inline constexpr std::int32_t kAberrations = 7;
inline constexpr std::int32_t kZernikes = 8;
inline constexpr std::int32_t kGridResults = 9;
}  // namespace viewtype

// The data of one analysis run handed to the output views.
struct AnalysisViewData {
  std::int32_t xSurfaceSize = 0;
  std::int32_t ySurfaceSize = 0;
  std::vector<double> SurfaceMap;     // xSurfaceSize x ySurfaceSize, times DisplayScale
  std::int32_t xOrigSurfaceSize = 0;
  std::int32_t yOrigSurfaceSize = 0;
  std::vector<double> SFringeMap;     // synthetic interferogram, not scaled
  std::vector<double> ProfileX;       // ProfileSize abscissae
  std::vector<double> ProfileY;       // ProfileSize values, times DisplayScale
};

// The state of a document window in the main window's area.
enum class WindowShowState { Normal, Minimized, Maximized };

class DocumentViews {
 public:
  virtual ~DocumentViews() = default;

  // --- Creating and releasing the windows ---
  // The image view (FormType 1). False when the window could not be made.
  virtual bool CreateImageView(clsDocument& doc);
  // The seven output views, with the start angles given (whole degrees).
  virtual bool CreateOutputViews(clsDocument& doc, double surfaceTheta, double surfacePhi,
                                 std::int32_t lineAngle);
  // Ends any shape drawing in progress in the image view.
  virtual void StopDrawingObject() {}
  virtual void UnloadImageView() {}
  virtual void UnloadOutputViews() {}

  // --- Image view ---
  virtual void ImageView_Init(clsDocument& /*doc*/) {}
  virtual void ImageView_Refresh(clsDocument& /*doc*/) {}
  // Repaints the image with its overlays (shapes, fringe centres, grid).
  virtual void PaintImage() {}
  // Lays the image view out for its client size and zoom (scroll bars, pre-shrunk
  // picture); the window's own size is set when it loads.
  virtual void ResizeWindow() {}
  virtual void ShowImageView() {}

  // --- Output views ---
  virtual void OutputViews_Load(clsDocument& /*doc*/, bool /*TileViews*/) {}
  virtual void OutputViews_UpdateVisibility(clsDocument& /*doc*/, bool /*Activate*/) {}
  virtual void OutputViews_ShowNoActivate(clsDocument& /*doc*/, bool /*TopUp*/) {}
  virtual void OutputViews_Select(std::int32_t /*view*/) {}
  virtual void OutputViews_HideAll() {}
  virtual void OutputViews_Refresh() {}
  virtual void OutputViews_Offset(std::int32_t /*dxpix*/, std::int32_t /*dypix*/,
                                  bool /*NoShow*/) {}
  // True: the views' visibility and placements into the program-wide layout; False:
  // the program-wide visibility into the document.
  virtual void OutputViews_UpdateGlobals(clsDocument& /*doc*/, bool /*SaveToGlobals*/) {}

  // --- Results ---
  // Fills all seven output views from one analysis run.
  virtual void OutputViews_LoadData(clsDocument& doc, const AnalysisViewData& data);
  // Reloads the line profile alone (positions and values, ProfileSize each).
  virtual void LoadDataIntoLineProfile(clsDocument& doc, std::span<const double> positions,
                                       std::span<const double> values);
  // Rebuilds the grid-results report from the document's grid.
  virtual void LoadDataIntoGridResults(clsDocument& /*doc*/) { ++gridResultLoads_; }

  // --- What the main window drives ---
  // The zoom (percent) of the image view (1) or the synthetic-fringe view (6); the view
  // redraws at once.
  virtual void SetViewZoom(std::int32_t /*formType*/, std::int32_t /*percent*/) {}
  // The hand (false) or edit (true) tool of the image view (1); the synthetic-fringe
  // view (6) only takes the tool's cursor.
  virtual void SetMouseTool(std::int32_t /*formType*/, bool /*editMode*/) {}
  // Deletes the fringe centre nearest an image point; (1E+308, 1E+308) deletes the one
  // the pop-up menu was opened on.
  virtual void DeleteFringeCenter(double /*X*/, double /*Y*/) {}
  // Brings a view to the front and gives it the focus; nothing when it does not exist.
  virtual void FocusView(std::int32_t /*formType*/) {}
  // The whole text and the selected text of a text view (7, 8 or 9).
  virtual std::string ViewText(std::int32_t /*formType*/) const { return {}; }
  virtual std::string ViewSelectedText(std::int32_t /*formType*/) const { return {}; }

  // --- What the windows keep ---
  // Placement of a view in pixels relative to its parent window (FormType code).
  virtual WindowPlacement GetViewPlacement(std::int32_t formType) const;
  // Moves and sizes a view without activating it or changing its place in the order.
  virtual void SetViewPlacement(std::int32_t formType, const WindowPlacement& placement);
  // Normal, minimised or maximised; a view that does not exist reads Normal.
  virtual WindowShowState ViewShowState(std::int32_t /*formType*/) const {
    return WindowShowState::Normal;
  }
  // The line-profile view's angle (whole degrees) and the surface plot's view angles.
  virtual std::int32_t ViewAngle() const { return viewAngle_; }
  virtual void SetViewAngle(std::int32_t degrees) { viewAngle_ = degrees; }
  virtual double ViewTheta() const { return viewTheta_; }
  virtual void SetViewTheta(double degrees) { viewTheta_ = degrees; }
  virtual double ViewPhi() const { return viewPhi_; }
  virtual void SetViewPhi(double degrees) { viewPhi_ = degrees; }
  virtual std::string Caption(std::int32_t formType) const;
  virtual void SetCaption(std::int32_t formType, const std::string& caption);

  // What the headless views were last given (tests read these).
  const AnalysisViewData& LastData() const { return lastData_; }
  std::int32_t DataLoads() const { return dataLoads_; }
  std::int32_t GridResultLoads() const { return gridResultLoads_; }

 private:
  static constexpr std::size_t kViewSlots = 10;  // indexed by FormType
  std::array<WindowPlacement, kViewSlots> placements_{};
  std::array<std::string, kViewSlots> captions_{};
  std::int32_t viewAngle_ = 0;
  double viewTheta_ = 0.0;
  double viewPhi_ = 0.0;
  AnalysisViewData lastData_;
  std::int32_t dataLoads_ = 0;
  std::int32_t gridResultLoads_ = 0;
};

}  // namespace orvale
