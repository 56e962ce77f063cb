#pragma once
// This room (app/plots) holds the result windows and what draws in them: the 2-D and 3-D
// chart frames, the contour, surface and line-profile plots, synthetic fringes, the text
// reports, the fillers that build their view models after an analysis, and a document's
// windows in the main window's MDI area. It may use the document (app/document) and the
// rooms below it; the dialogs and the rooms above use it.
//
// A document's windows in the main window's MDI area with the real result windows: the
// seven output views render the document's view models, which this object owns and
// the analysis fills. The image view's window comes from the host's factory (the image
// view lives above this layer); without one it is an empty window.
#include <memory>

#include "app/plots/MdiDocumentViews.h"
#include "app/plots/ResultViewModels.h"

namespace orvale {

class frmContourPlot;
class frmLineProfile;
class frmSFringe;
class frmSurfacePlot;
class frmText;
class PlotWindow;

class ResultDocumentViews : public MdiDocumentViews {
 public:
  // `imageWindow` makes the image view's window (view code 1).
  ResultDocumentViews(MainFrame& frame, QMdiArea& area, SubWindowFactory imageWindow = {});
  ~ResultDocumentViews() override;

  // What the output views show; a new set of windows starts with fresh models.
  ResultViewModels& Models() { return *models_; }
  const ResultViewModels& Models() const { return *models_; }

  bool CreateOutputViews(clsDocument& doc, double surfaceTheta, double surfacePhi,
                         std::int32_t lineAngle) override;

  void OutputViews_LoadData(clsDocument& doc, const AnalysisViewData& data) override;
  void LoadDataIntoLineProfile(clsDocument& doc, std::span<const double> positions,
                               std::span<const double> values) override;
  void LoadDataIntoGridResults(clsDocument& doc) override;

  void SetViewZoom(std::int32_t formType, std::int32_t percent) override;
  std::int32_t ViewZoom(std::int32_t formType) const override;
  void SetMouseTool(std::int32_t formType, bool editMode) override;
  void FocusView(std::int32_t formType) override;
  std::string ViewText(std::int32_t formType) const override;
  std::string ViewSelectedText(std::int32_t formType) const override;
  // The plots (3, 4, 5), the synthetic fringes (6) and the text reports (7, 8, 9).
  void PrintView(std::int32_t formType, gdi::DeviceContext& dc, std::int32_t left,
                 std::int32_t top, std::int32_t right, std::int32_t bottom) override;

  // The view angles are the models'.
  std::int32_t ViewAngle() const override;
  void SetViewAngle(std::int32_t degrees) override;
  double ViewTheta() const override;
  void SetViewTheta(double degrees) override;
  double ViewPhi() const override;
  void SetViewPhi(double degrees) override;

  // The result windows; null when the view does not exist.
  frmSurfacePlot* SurfacePlotView() const;
  frmContourPlot* ContourPlotView() const;
  frmLineProfile* LineProfileView() const;
  frmSFringe* SFringeView() const;
  frmText* TextView(std::int32_t formType) const;
  PlotWindow* PlotView(std::int32_t formType) const;

 private:
  // What the fillers ask of the windows' contents.
  class FilledWindows : public ResultViewWindows {
   public:
    explicit FilledWindows(ResultDocumentViews& views) : views_(views) {}
    void ResizeWindow(std::int32_t formType) override;
    void UpdateTextBox(std::int32_t formType) override;

   private:
    ResultDocumentViews& views_;
  };

  DocumentSubWindow* MakeSubWindow(MainFrame& frame, clsDocument& doc, std::int32_t formType);
  // The surface chart takes the view point of the model; a new one is laid out anew.
  void ApplyViewPoint();

  SubWindowFactory imageWindow_;
  FilledWindows filled_{*this};
  std::unique_ptr<ResultViewModels> models_;
};

}  // namespace orvale
