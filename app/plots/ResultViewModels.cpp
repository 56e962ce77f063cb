#include "app/plots/ResultViewModels.h"

#include "app/document/DocumentViews.h"

namespace orvale {

ResultViewModels::ResultViewModels(std::int32_t surfaceTheta, std::int32_t surfacePhi,
                                   std::int32_t lineAngle) {
  Surface.ViewTheta = static_cast<double>(surfaceTheta);
  Surface.ViewPhi = static_cast<double>(surfacePhi);
  bool recalc = false;
  Surface.SurfacePlot.Chart.ChangeViewPoint(Surface.ViewR, Surface.ViewTheta, Surface.ViewPhi,
                                            recalc);
  Line.ViewAngle = lineAngle;
  Aberrations.FormType = viewtype::kAberrations;
  Zernikes.FormType = viewtype::kZernikes;
  GridResults.FormType = viewtype::kGridResults;
}

TextViewModel* ResultViewModels::Text(std::int32_t formType) {
  switch (formType) {
    case viewtype::kAberrations: return &Aberrations;
    case viewtype::kZernikes: return &Zernikes;
    case viewtype::kGridResults: return &GridResults;
    default: return nullptr;
  }
}

ResultViewWindows& ResultViewModels::Shown() {
  static ResultViewWindows none;
  return Windows ? *Windows : none;
}

}  // namespace orvale
