#include "app/document/DocumentViews.h"

namespace orvale {

namespace {

bool IsViewSlot(std::int32_t formType, std::size_t slots) {
  return formType >= 0 && static_cast<std::size_t>(formType) < slots;
}

}  // namespace

bool DocumentViews::CreateImageView(clsDocument& /*doc*/) { return true; }

bool DocumentViews::CreateOutputViews(clsDocument& /*doc*/, double surfaceTheta,
                                      double surfacePhi, std::int32_t lineAngle) {
  SetViewTheta(surfaceTheta);
  SetViewPhi(surfacePhi);
  SetViewAngle(lineAngle);
  return true;
}

void DocumentViews::OutputViews_LoadData(clsDocument& /*doc*/, const AnalysisViewData& data) {
  lastData_ = data;
  ++dataLoads_;
}

void DocumentViews::LoadDataIntoLineProfile(clsDocument& /*doc*/,
                                            std::span<const double> positions,
                                            std::span<const double> values) {
  lastData_.ProfileX.assign(positions.begin(), positions.end());
  lastData_.ProfileY.assign(values.begin(), values.end());
}

WindowPlacement DocumentViews::GetViewPlacement(std::int32_t formType) const {
  if (!IsViewSlot(formType, kViewSlots)) return {};
  return placements_[static_cast<std::size_t>(formType)];
}

void DocumentViews::SetViewPlacement(std::int32_t formType, const WindowPlacement& placement) {
  if (IsViewSlot(formType, kViewSlots)) placements_[static_cast<std::size_t>(formType)] = placement;
}

std::string DocumentViews::Caption(std::int32_t formType) const {
  if (!IsViewSlot(formType, kViewSlots)) return {};
  return captions_[static_cast<std::size_t>(formType)];
}

void DocumentViews::SetCaption(std::int32_t formType, const std::string& caption) {
  if (IsViewSlot(formType, kViewSlots)) captions_[static_cast<std::size_t>(formType)] = caption;
}

}  // namespace orvale
