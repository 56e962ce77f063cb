// The analysis chain of a document: pupil mask, fit of the fringe centres, evaluation
// of maps, profile and aberrations, and automatic tracing with its own mask.
#include <algorithm>

#include "app/analysis/FringeCenterData.h"
#include "app/document/DocumentHost.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/Markers.h"
#include "platform/ui/AllocationReport.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308238;
// Images smaller than this on either side are traced on a mask of twice their size.
constexpr std::int32_t kSingleSizeTraceMinimum = 350;
constexpr const char* kEraseFringesPrompt = "Current fringe centers will be erased. Continue?";

std::size_t Count(std::int32_t x, std::int32_t y) {
  return static_cast<std::size_t>(x) * static_cast<std::size_t>(y);
}

void ScaleUnlessBlank(std::vector<double>& values, double factor) {
  for (double& v : values) {
    if (v != kBlankValue) v *= factor;
  }
}

// The working arrays of one run, all of the document's current sizes.
bool AllocateViewData(const clsDocument& doc, AnalysisViewData& data) {
  data.xSurfaceSize = doc.xSurfaceSize;
  data.ySurfaceSize = doc.ySurfaceSize;
  data.xOrigSurfaceSize = doc.xOrigSurfaceSize;
  data.yOrigSurfaceSize = doc.yOrigSurfaceSize;
  return AssignOrReport(data.SurfaceMap, Count(doc.xSurfaceSize, doc.ySurfaceSize), 0.0) &&
         AssignOrReport(data.SFringeMap, Count(doc.xOrigSurfaceSize, doc.yOrigSurfaceSize), 0.0) &&
         AssignOrReport(data.ProfileX, static_cast<std::size_t>(doc.ProfileSize), 0.0) &&
         AssignOrReport(data.ProfileY, static_cast<std::size_t>(doc.ProfileSize), 0.0);
}

}  // namespace

void clsDocument::UpdateAnalysis(bool AberrationsUpdate, bool GlobalsUpdate) {
  if (GlobalsUpdate) CopyPlotDefaults();
  if (xSurfaceSize <= 0 || ySurfaceSize <= 0 || xOrigSurfaceSize <= 0 || yOrigSurfaceSize <= 0 ||
      ProfileSize <= 0) {
    return;
  }
  AnalysisViewData data;
  if (!AllocateViewData(*this, data)) return;

  DocDirty = true;
  if (AnalysisValid) {
    // Only display options changed: evaluate the stored fit again, never refit it.
    if (!UpdateMask()) return;
    for (int i = 1; i <= kZernikeTermCount; ++i) ZernikesFiltered[i] = Zernikes[i] * zscale;
    ZAnalysis.Remove(noTilt, noFocus, noAstig, noComa, noSphere, ZernikesFiltered);
    ZAnalysis.AToW(ZernikesFiltered, WNotation);
    if (AberrationsUpdate) ZAnalysis.EvalAberrations(ZernikesFiltered, 100, 100, RMS, Strehl, PV);
    EvaluateMaps(data);
  } else if (!AnalyzeFringeCenters(data)) {
    return;
  }

  ScaleUnlessBlank(data.SurfaceMap, DisplayScale);
  ScaleUnlessBlank(data.ProfileY, DisplayScale);
  views_->OutputViews_LoadData(*this, data);
}

bool clsDocument::AnalyzeFringeCenters(AnalysisViewData& data) {
  nDataPts = orvale::GetFringeNumTicks(Fringes);
  if (nDataPts <= 0) {
    ShowMessage("No fringe centers to analyze", mb::kOk, "Warning");
    return false;
  }
  std::vector<double> X;
  std::vector<double> Y;
  std::vector<double> Z;
  if (!AssignOrReport(X, static_cast<std::size_t>(nDataPts), 0.0) ||
      !AssignOrReport(Y, static_cast<std::size_t>(nDataPts), 0.0) ||
      !AssignOrReport(Z, static_cast<std::size_t>(nDataPts), 0.0)) {
    return false;
  }
  orvale::GetFringeCenterData(Fringes, X, Y, Z);
  if (InvertWavefront) {
    for (double& z : Z) z = -z;
  }
  if (!UpdateMask()) return false;

  AnalysisValid = false;
  // The fit reports through its arguments how many points it used and how many terms
  // it solved; the document's own request stays as the user set it.
  std::int32_t pointsUsed = nDataPts;
  std::int32_t termsSolved = NumZernikeToFit;
  ZernikeVector fit{};
  ZAnalysis.FitFringeCenters(pointsUsed, X, Y, Z, termsSolved, fit);
  if (termsSolved <= 0) {
    ShowMessage(
        "The fringe centers could not be fitted: too few usable fringe centers inside the "
        "aperture",
        mb::kOk, "Warning");
    return false;
  }
  nDataPts = pointsUsed;
  // The reference comes off once, here; the stored set is the fit less the reference.
  if (UseRefZCoeff) {
    for (int i = 1; i <= kZernikeTermCount; ++i) fit[i] -= RefZernikes[i];
  }
  Zernikes = fit;
  for (int i = 1; i <= kZernikeTermCount; ++i) ZernikesFiltered[i] = Zernikes[i] * zscale;
  ZAnalysis.Remove(noTilt, noFocus, noAstig, noComa, noSphere, ZernikesFiltered);
  AnalysisValid = true;
  ZAnalysis.AToW(ZernikesFiltered, WNotation);
  ZAnalysis.EvalAberrations(ZernikesFiltered, 100, 100, RMS, Strehl, PV);
  EvaluateMaps(data);
  return true;
}

void clsDocument::EvaluateMaps(AnalysisViewData& data) const {
  ZAnalysis.EvalSurface(ZernikesFiltered, xSurfaceSize, ySurfaceSize, data.SurfaceMap, false);
  // The synthetic interferogram shows the fit as measured: unscaled, nothing removed.
  ZAnalysis.EvalSurface(Zernikes, xOrigSurfaceSize, yOrigSurfaceSize, data.SFringeMap, true);
  ZAnalysis.EvalProfile(ZernikesFiltered, ProfileAngle(), ProfileSize, data.ProfileX,
                        data.ProfileY);
}

double clsDocument::ProfileAngle() const {
  const std::int32_t degrees = OutputViewsExist ? views_->ViewAngle() : settings_->DefaultLineAngle;
  return static_cast<double>(degrees) / kDegreesPerRadian;
}

bool clsDocument::MaskSizeMismatch(bool doubleSize) const {
  const std::int64_t factor = doubleSize ? 2 : 1;
  return ZAnalysis.MaskWidth() != factor * XSize || ZAnalysis.MaskHeight() != factor * YSize;
}

bool clsDocument::UpdateMask() {
  if (XSize < 1 || YSize < 1 || XSize == kNotGivenLong || YSize == kNotGivenLong) {
    ShowMessage("No image to analyze", mb::kOk, "Warning");
    return false;
  }
  bool newMask = false;
  // A mask made for tracing (twice the size) or for an image of another size is made
  // again; a mask of the wrong size is never used.
  if (!ZAnalysis.MaskAllocated || ZAnalysis.MaskDoubleSize || MaskSizeMismatch(false)) {
    if (!ZAnalysis.CreateMask(XSize, YSize)) return false;
    newMask = true;
  } else if (!ZAnalysis.MaskValid) {
    ZAnalysis.ClearMask();
  }
  if (!ZAnalysis.MaskValid || newMask) ApplyShapesToMask(false);
  if (!ZAnalysis.MaskTrimmed && TrimEdges) ZAnalysis.TrimMask();
  return true;
}

void clsDocument::ApplyShapesToMask(bool doubleSize) {
  // The obstruction goes over the aperture; the pupil scale comes from the aperture.
  ZAnalysis.UpdateApertureMask(Aperture, doubleSize);
  ZAnalysis.UpdateObstructionMask(Obstruction, doubleSize);
  ZAnalysis.SetScalefactors(Aperture);
  ZAnalysis.MaskValid = true;
}

bool clsDocument::AutoTraceFringes(std::int32_t Direction,
                                   std::optional<std::int32_t> FringeDensity) {
  if (BlankImage) {
    ShowMessage("Cannot AutoTrace a blank image", mb::kOk | mb::kIconExclamation, "Warning");
    return false;
  }
  if (Fringes.NumFringes() > 0 &&
      ShowMessage(kEraseFringesPrompt, mb::kYesNo, "Warning") == idbutton::kNo) {
    return false;
  }
  const std::int32_t density = std::clamp(FringeDensity.value_or(settings_->AutoTraceDensity), 1, 4);
  if (XSize < 1 || YSize < 1 || DataBuffer.size() != Count(XSize, YSize)) return false;

  const bool doubleSize = XSize < kSingleSizeTraceMinimum || YSize < kSingleSizeTraceMinimum;
  bool newMask = false;
  if (!ZAnalysis.MaskAllocated || ZAnalysis.MaskDoubleSize != doubleSize ||
      MaskSizeMismatch(doubleSize)) {
    const std::int32_t factor = doubleSize ? 2 : 1;
    if (!ZAnalysis.CreateMask(factor * XSize, factor * YSize)) return false;
    ZAnalysis.MaskDoubleSize = doubleSize;
    newMask = true;
  } else if (!ZAnalysis.MaskValid || ZAnalysis.MaskTrimmed) {
    // The tracer works on the untrimmed pupil.
    ZAnalysis.ClearMask();
    ZAnalysis.MaskValid = false;
  }

  host_->SetBusyPointer(true);
  if (!ZAnalysis.MaskValid || newMask) {
    if (Aperture.GetShapeType() == clsShape::kNone) {
      ShowMessage("Set aperture before automatic fringe tracing", mb::kOk, "Warning");
      host_->SetBusyPointer(false);
      return false;
    }
    ApplyShapesToMask(ZAnalysis.MaskDoubleSize);
  }
  ZAnalysis.AutoTrace(Fringes, DataBuffer, XSize, YSize, Direction, density);
  views_->PaintImage();
  DocDirty = true;
  AnalysisValid = false;
  host_->SetBusyPointer(false);
  return Fringes.NumFringes() > 0;
}

void clsDocument::ClearFringes() {
  if (Fringes.NumFringes() > 0 &&
      ShowMessage(kEraseFringesPrompt, mb::kYesNo, "Warning") == idbutton::kNo) {
    return;
  }
  Fringes.DeleteAll();
  views_->PaintImage();
  DocDirty = true;
  AnalysisValid = false;
}

void clsDocument::InvalidateMask() {
  ZAnalysis.MaskValid = false;
  DocDirty = true;
  AnalysisValid = false;
}

void clsDocument::AnalyzeGrid() {
  if (!AnalysisValid) return;
  ZAnalysis.EvalGrid(ZernikesFiltered, 100, 100, Grid);
  views_->LoadDataIntoGridResults(*this);
}

void clsDocument::RefreshLineViewData() {
  if (ProfileSize <= 0) return;
  std::vector<double> positions;
  std::vector<double> values;
  if (!AssignOrReport(positions, static_cast<std::size_t>(ProfileSize), 0.0) ||
      !AssignOrReport(values, static_cast<std::size_t>(ProfileSize), 0.0)) {
    return;
  }
  if (!OutputViewsExist) return;
  ZAnalysis.EvalProfile(ZernikesFiltered, ProfileAngle(), ProfileSize, positions, values);
  ScaleUnlessBlank(values, DisplayScale);
  views_->LoadDataIntoLineProfile(*this, positions, values);
  // The profile angle is saved with the document.
  DocDirty = true;
}

}  // namespace orvale
