#pragma once
// The windows of one document as the document sees them: the image view and the seven
// output views. The rules of which window loads, shows, hides, moves and comes to the
// top are written here once, over eight window handles (DocumentWindow) that may be
// missing. The base class makes headless windows that keep their state and log their
// calls (RecordingDocumentWindow), so that a document can be saved, read back and
// analysed without a display; the Qt views make real windows through MakeWindow.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/document/DocumentWindow.h"
#include "app/document/RecordingDocumentWindow.h"
#include "platform/registry/ResultWindowLayout.h"

namespace orvale {

class clsDocument;
namespace gdi {
class DeviceContext;
}

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

class DocumentViews {
 public:
  DocumentViews() = default;
  virtual ~DocumentViews();
  DocumentViews(const DocumentViews&) = delete;
  DocumentViews& operator=(const DocumentViews&) = delete;

  // The document whose flags and settings the rules read; the document attaches itself.
  void Attach(clsDocument& doc) { doc_ = &doc; }

  // --- Creating and releasing the windows ---
  // The image view (FormType 1), in the main window's start mode (edit or view). True
  // and nothing new when it exists already; false when the window could not be made.
  virtual bool CreateImageView(clsDocument& doc);
  // The seven output views, with the start angles given (whole degrees). True and
  // nothing new when they exist already. When one cannot be made, those made before it
  // are released again and the result is false.
  virtual bool CreateOutputViews(clsDocument& doc, double surfaceTheta, double surfacePhi,
                                 std::int32_t lineAngle);
  // Ends any shape drawing in progress in the image view.
  virtual void StopDrawingObject() {}
  // Unload the windows and drop them: the output views in their table order.
  virtual void UnloadImageView();
  virtual void UnloadOutputViews();

  // --- Image view ---
  // Loads the image view hidden, captions it and builds its picture from the document's
  // image (none for a blank image). Nothing without the window.
  virtual void ImageView_Init(clsDocument& doc);
  // The same for an image that changed, then a repaint; nothing without the window.
  virtual void ImageView_Refresh(clsDocument& doc);
  // Repaints the image with its overlays (shapes, fringe centres, grid).
  virtual void PaintImage();
  // Lays the image view out for its client size and zoom (scroll bars, pre-shrunk
  // picture); the window's own size is set when it loads.
  virtual void ResizeWindow() {}
  // Shows and activates the image view.
  virtual void ShowImageView();

  // --- Output views ---
  // Each does nothing while the document has no output views.
  // Loads the windows not loaded yet at their layout entries; TileViews first moves the
  // whole layout one cascade step (frame, frame + caption).
  virtual void OutputViews_Load(clsDocument& doc, bool TileViews);
  // Shows the views whose flag is set and hides the others; Activate False leaves the
  // active window active.
  virtual void OutputViews_UpdateVisibility(clsDocument& doc, bool Activate);
  // Shows the views whose flag is set without activating them, at the layout when
  // "Hog Windows" is on; TopUp brings them to the top.
  virtual void OutputViews_ShowNoActivate(clsDocument& doc, bool TopUp);
  // Brings the image view (1) or a shown output view (3..9) to the top and activates
  // it; anything else, a view without its window or one whose flag is clear: nothing.
  virtual void OutputViews_Select(std::int32_t view);
  // Hides the views whose flag is set; the flags keep their values.
  virtual void OutputViews_HideAll();
  // Repaints the views whose flag is set.
  virtual void OutputViews_Refresh();
  // Moves the views whose flag is set by (dxpix, dypix); unless NoShow they are shown.
  virtual void OutputViews_Offset(std::int32_t dxpix, std::int32_t dypix, bool NoShow);
  // True: the views' visibility into the program-wide layout and, with "Hog Windows",
  // the placements of the views in normal state; False: the program-wide visibility
  // into the document.
  virtual void OutputViews_UpdateGlobals(clsDocument& doc, bool SaveToGlobals);

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
  // redraws at once. The headless views keep it, 100 until it is set.
  virtual void SetViewZoom(std::int32_t formType, std::int32_t percent);
  virtual std::int32_t ViewZoom(std::int32_t formType) const;
  // The hand (false) or edit (true) tool of the image view (1); the synthetic-fringe
  // view (6) only takes the tool's cursor.
  virtual void SetMouseTool(std::int32_t formType, bool editMode);
  // Deletes the fringe centre nearest an image point; (1E+308, 1E+308) deletes the one
  // the pop-up menu was opened on.
  virtual void DeleteFringeCenter(double /*X*/, double /*Y*/) {}
  // Brings a view to the front and gives it the focus; nothing when it does not exist.
  virtual void FocusView(std::int32_t formType);
  // The whole text and the selected text of a text view (7, 8 or 9).
  virtual std::string ViewText(std::int32_t /*formType*/) const { return {}; }
  virtual std::string ViewSelectedText(std::int32_t /*formType*/) const { return {}; }

  // --- Printing ---
  // A view prints itself into the device rectangle left..right, top..bottom (edges
  // included) through its window's own print member: the report reaches the image view
  // and the result windows here. Nothing for a view that does not exist; the headless
  // windows print nothing.
  virtual void PrintView(std::int32_t /*formType*/, gdi::DeviceContext& /*dc*/,
                         std::int32_t /*left*/, std::int32_t /*top*/, std::int32_t /*right*/,
                         std::int32_t /*bottom*/) {}

  // --- What the windows keep ---
  // Placement of a view in pixels relative to its parent window (FormType code). Set
  // before the window exists, it is kept and given to the window when it is made.
  virtual WindowPlacement GetViewPlacement(std::int32_t formType) const;
  // Moves and sizes a view without activating it or changing its place in the order.
  virtual void SetViewPlacement(std::int32_t formType, const WindowPlacement& placement);
  // Normal, minimised or maximised; a view that does not exist reads Normal.
  virtual WindowShowState ViewShowState(std::int32_t formType) const;
  // Gives a minimised or maximised view its normal state; nothing when it does not exist.
  void ShowViewNormal(std::int32_t formType);
  // The line-profile view's angle (whole degrees) and the surface plot's view angles.
  virtual std::int32_t ViewAngle() const { return viewAngle_; }
  virtual void SetViewAngle(std::int32_t degrees) { viewAngle_ = degrees; }
  virtual double ViewTheta() const { return viewTheta_; }
  virtual void SetViewTheta(double degrees) { viewTheta_ = degrees; }
  virtual double ViewPhi() const { return viewPhi_; }
  virtual void SetViewPhi(double degrees) { viewPhi_ = degrees; }
  // Like the placement, a caption set before the window exists is kept for it.
  virtual std::string Caption(std::int32_t formType) const;
  virtual void SetCaption(std::int32_t formType, const std::string& caption);

  // The window of a view code, or null when it does not exist (or for 2, 0, 10, ...).
  DocumentWindow* Window(std::int32_t formType) const;
  // The image view's mouse mode (true: edit) and whether its picture may be painted.
  bool MouseEditMode() const { return mouseEditMode_; }
  bool ImageReady() const { return imageReady_; }

  // What the headless views were last given (tests read these).
  const AnalysisViewData& LastData() const { return lastData_; }
  std::int32_t DataLoads() const { return dataLoads_; }
  std::int32_t GridResultLoads() const { return gridResultLoads_; }
  // The calls the headless windows received, and which of them is active.
  WindowCallLog& WindowCalls() { return windowCalls_; }
  const WindowCallLog& WindowCalls() const { return windowCalls_; }

 protected:
  // A new window object (not loaded) of a view code for `doc`. Null, or an exception
  // carrying the reason, when it cannot be made. The base makes headless windows.
  virtual std::unique_ptr<DocumentWindow> MakeWindow(clsDocument& doc, std::int32_t formType);
  // Builds the image view's picture from an 8-bit image, rows from the top.
  virtual void RefreshBitmapFromData(std::span<const std::uint8_t> data, std::int32_t width,
                                     std::int32_t height);
  // A blank image has no picture, but the view still needs its extent.
  virtual void RefreshBlankImage(std::int32_t /*width*/, std::int32_t /*height*/) {}
  // Repaints the image view after its picture was rebuilt.
  virtual void UpdateImage();
  virtual void SetImageReady(bool ready) { imageReady_ = ready; }

 private:
  static constexpr std::size_t kViewSlots = 10;  // indexed by FormType

  // Makes the window of a view code and hands it what was kept for it.
  bool Adopt(clsDocument& doc, std::int32_t formType);
  void Release(std::int32_t formType);
  // A window that is to be shown or moved is loaded first: an output view at its layout
  // entry, the image view where it was placed.
  DocumentWindow* LoadedWindow(std::int32_t formType);
  // The attached document when it has output views.
  clsDocument* DocumentWithOutputViews() const;
  // The document's flag for a view code 3..9.
  bool ViewFlag(std::int32_t formType) const;
  void ShowImageCaptionAndPicture(clsDocument& doc);

  clsDocument* doc_ = nullptr;
  // The log outlives the headless windows that write to it.
  WindowCallLog windowCalls_;
  std::array<std::unique_ptr<DocumentWindow>, kViewSlots> windows_{};
  std::array<WindowPlacement, kViewSlots> keptPlacements_{};
  std::array<std::string, kViewSlots> keptCaptions_{};
  std::array<std::int32_t, kViewSlots> zooms_{};  // 0: never set (100)
  bool mouseEditMode_ = true;
  bool imageReady_ = false;
  std::int32_t viewAngle_ = 0;
  double viewTheta_ = 0.0;
  double viewPhi_ = 0.0;
  AnalysisViewData lastData_;
  std::int32_t dataLoads_ = 0;
  std::int32_t gridResultLoads_ = 0;
};

}  // namespace orvale
