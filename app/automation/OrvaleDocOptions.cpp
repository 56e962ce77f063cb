// The analysis options, which live in the Analyze window (a client changes exactly what
// a user would change there, with or without a document), and the wrapped document's
// image window.
#include <array>
#include <cmath>

#include "app/automation/AutomationArguments.h"
#include "app/automation/OrvaleDoc.h"
#include "app/automation/OrvaleDocTypes.h"
#include "app/document/DocumentTable.h"
#include "app/document/MainFrame.h"
#include "app/document/clsDocument.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// The fit orders of the order-limit list's entries "Auto", "8th", "6th", "4th", "2nd".
constexpr std::array<std::int16_t, 5> kOrderOfLimitIndex = {0, 8, 6, 4, 2};

// The aberration codes of the five Remove boxes, in their order.
constexpr std::array<std::int32_t, kRemoveCount> kAberrationOfRemoveBox = {
    AberrationTilt, AberrationDefocus, AberrationAstigmatism, AberrationComa, AberrationSA};

constexpr std::int32_t kMinWindowSide = 16;
constexpr std::int32_t kMaxWindowSide = 4096;

constexpr const char* kNoWindowDocument =
    "Can't get window dimensions until an interferogram has been loaded.";

std::string NumberText(double value) { return FormatGeneral(value); }

// A wavelength text read as Apply reads it: by its leading number.
double Wavelength(const std::string& text, const char* notANumber) {
  double value = 0.0;
  if (!TryReadLeadingNumber(text, value) || !std::isfinite(value))
    RaiseOrvaleDocError(ErrorInvalidNumber, notANumber);
  return value;
}

bool RequireBoolean(const AutoValue& value, const char* text) {
  const bool* flag = BooleanValue(value);
  if (flag == nullptr) RaiseOrvaleDocError(ErrorInvalidBoolean, text);
  return *flag;
}

// The Remove box an aberration argument addresses.
std::size_t RemoveBoxOf(const AutoValue& Aberration) {
  const std::optional<std::int32_t> type = AberrationCode(Aberration);
  for (std::size_t box = 0; type && box < kRemoveCount; ++box)
    if (*type == kAberrationOfRemoveBox[box]) return box;
  RaiseOrvaleDocError(ErrorInvalidAberration, "Invalid aberration type parameter.");
}

}  // namespace

void OrvaleDoc::SetInputWavelength(const AutoValue& value) {
  SetWavelength(&AnalyzeControls::InputWL, value, "The input wavelength must be assigned a numeric value.");
}

double OrvaleDoc::GetInputWavelength() const {
  return Wavelength(context_.Options.Controls().InputWL, "The input wavelength is not a number.");
}

void OrvaleDoc::SetOutputWavelength(const AutoValue& value) {
  SetWavelength(&AnalyzeControls::OutputWL, value, "The output wavelength must be assigned a numeric value.");
}

double OrvaleDoc::GetOutputWavelength() const {
  return Wavelength(context_.Options.Controls().OutputWL, "The output wavelength is not a number.");
}

void OrvaleDoc::SetWavelength(std::string AnalyzeControls::*text, const AutoValue& value,
                              const char* notNumeric) {
  const std::optional<double> number = NumericValue(value);
  if (!number) RaiseOrvaleDocError(ErrorInvalidNumber, notNumeric);
  context_.Options.Edit([&](AnalyzeControls& c) { c.*text = NumberText(*number); });
}

void OrvaleDoc::SetInvertWavefront(const AutoValue& value) {
  const bool invert =
      RequireBoolean(value, "The 'Invert Wavefront' property must be assigned a boolean value.");
  context_.Options.Edit([&](AnalyzeControls& c) { c.InvertWavefront = invert; });
}

bool OrvaleDoc::GetInvertWavefront() const { return context_.Options.Controls().InvertWavefront; }

void OrvaleDoc::SetTrimEdges(const AutoValue& value) {
  const bool trim = RequireBoolean(value, "The 'Trim Edges' property must be assigned a boolean value.");
  context_.Options.Edit([&](AnalyzeControls& c) { c.TrimEdges = trim; });
}

bool OrvaleDoc::GetTrimEdges() const { return context_.Options.Controls().TrimEdges; }

void OrvaleDoc::SetOrderLimit(const AutoValue& value) {
  const std::string* text = TextValue(value);
  const std::optional<double> order =
      text != nullptr && UpperCase(*text) == "AUTO" ? std::optional<double>(0) : NumericValue(value);
  for (std::size_t index = 0; order && index < kOrderOfLimitIndex.size(); ++index) {
    if (*order == kOrderOfLimitIndex[index]) {
      context_.Options.Edit([&](AnalyzeControls& c) { c.LimitOrderIndex = static_cast<std::int32_t>(index); });
      return;
    }
  }
  RaiseOrvaleDocError(ErrorInvalidNumber, "Zernike Order Limit must be specified usiong an integer.");
}

std::int16_t OrvaleDoc::GetOrderLimit() const {
  const std::int32_t index = context_.Options.Controls().LimitOrderIndex;
  if (index < 0 || index >= static_cast<std::int32_t>(kOrderOfLimitIndex.size())) return 0;
  return kOrderOfLimitIndex[static_cast<std::size_t>(index)];
}

void OrvaleDoc::SetRemove(const AutoValue& Aberration, const AutoValue& value) {
  // The aberration must be one at all before the value is looked at.
  if (!ParseAberrationType(Aberration))
    RaiseOrvaleDocError(ErrorInvalidAberration, "Invalid aberration type parameter.");
  const bool remove = RequireBoolean(value, "The 'Remove' property must be assigned a boolean value.");
  const std::size_t box = RemoveBoxOf(Aberration);
  context_.Options.Edit([&](AnalyzeControls& c) { c.Remove[box] = remove; });
}

bool OrvaleDoc::GetRemove(const AutoValue& Aberration) const {
  return context_.Options.Controls().Remove[RemoveBoxOf(Aberration)];
}

void OrvaleDoc::SetScaleFactor(const AutoValue& value) {
  const std::optional<double> factor = NumericValue(value);
  if (!factor) RaiseOrvaleDocError(ErrorInvalidType, "Scale Factors must be specified using a numeric data type.");
  context_.Options.Edit([&](AnalyzeControls& c) {
    if (*factor == 0.5) {
      c.ScaleFactorOption = scaleoption::kHalf;
    } else if (*factor == 1.0) {
      c.ScaleFactorOption = scaleoption::kOne;
    } else {
      c.ScaleFactorOption = scaleoption::kCustom;
      c.ScaleFactorText = NumberText(*factor);
    }
  });
}

double OrvaleDoc::GetScaleFactor() const {
  const AnalyzeControls& c = context_.Options.Controls();
  if (c.ScaleFactorOption == scaleoption::kHalf) return 0.5;
  if (c.ScaleFactorOption == scaleoption::kOne) return 1.0;
  // Apply converts the custom text as a whole, and so does this.
  double factor = 0.0;
  if (!TryConvertNumber(c.ScaleFactorText, factor) || !std::isfinite(factor))
    RaiseOrvaleDocError(ErrorInvalidNumber, "The custom scale factor is not a number.");
  return factor;
}

void OrvaleDoc::SetZoom(const AutoValue& Percentage) {
  clsDocument& doc = RequireDocument("Can't set zoom until an interferogram has been loaded.");
  const std::optional<double> percent = NumericValue(Percentage);
  const MainFrame& frame = context_.Frame;
  std::int32_t entry = -1;
  for (std::int32_t i = 0; percent && entry < 0 && i < frame.ZoomListCount(); ++i)
    if (frame.ZoomListItemData(i) == *percent) entry = i;
  if (entry < 0) RaiseOrvaleDocError(ErrorInvalidNumber, "The zoom factor must be assigned a numeric value.");
  if (!doc.ImageViewExist) return;
  // This document's view, never the active one (which may be another document's).
  const std::int32_t zoom = frame.ZoomListItemData(entry);
  doc.Views().SetViewZoom(viewtype::kImage, zoom);
  if (context_.Documents.ActiveDocIndex == doc.ovDocIndex && doc.ActiveView == viewtype::kImage)
    context_.Frame.ShowZoomPercent(zoom);
}

std::int32_t OrvaleDoc::GetZoom() {
  const clsDocument& doc = RequireDocument("Can't get zoom until an interferogram has been loaded.");
  return doc.Views().ViewZoom(viewtype::kImage);
}

double OrvaleDoc::GetWidth() {
  const clsDocument& doc = RequireDocument(kNoWindowDocument);
  return doc.Views().GetViewPlacement(viewtype::kImage).Width;
}

double OrvaleDoc::GetHeight() {
  const clsDocument& doc = RequireDocument(kNoWindowDocument);
  return doc.Views().GetViewPlacement(viewtype::kImage).Height;
}

bool OrvaleDoc::SizeWindow(const AutoValue& width, const AutoValue& height) {
  clsDocument& doc = RequireDocument("Can't size window until an interferogram has been loaded.");
  const auto side = [](const AutoValue& value) {
    const std::optional<double> pixels = NumericValue(value);
    if (!pixels || *pixels < kMinWindowSide || *pixels > kMaxWindowSide)
      RaiseOrvaleDocError(ErrorInvalidNumber, "Specified window size is non-numeric or out of range.");
    return RoundToInt32(*pixels);
  };
  const std::int32_t newWidth = side(width);
  const std::int32_t newHeight = side(height);
  DocumentViews& views = doc.Views();
  // A minimised or maximised window has no size of its own to set.
  views.ShowViewNormal(viewtype::kImage);
  WindowPlacement placement = views.GetViewPlacement(viewtype::kImage);
  placement.Width = newWidth;
  placement.Height = newHeight;
  views.SetViewPlacement(viewtype::kImage, placement);
  views.ResizeWindow();
  views.PaintImage();
  return true;
}

}  // namespace orvale
