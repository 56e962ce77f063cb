#include "app/analysis/clsAnalysis.h"

#include <algorithm>

#include "platform/ui/AllocationReport.h"

namespace orvale {

bool clsAnalysis::CreateMask(std::int32_t XSize, std::int32_t YSize) {
  MaskAllocated = false;
  MaskValid = false;
  MaskDoubleSize = false;
  MaskTrimmed = false;
  maskWidth_ = 0;
  maskHeight_ = 0;
  mask_ = std::vector<std::uint8_t>();  // free the old mask before asking for the new one

  const bool empty = XSize < 1 || YSize < 1;
  const std::size_t bytes =
      empty ? 1 : static_cast<std::size_t>(XSize) * static_cast<std::size_t>(YSize);
  if (!AssignOrReport(mask_, bytes, kMaskOutside)) return false;
  if (!empty) {
    maskWidth_ = XSize;
    maskHeight_ = YSize;
  }
  MaskAllocated = true;
  return true;
}

void clsAnalysis::ClearMask() {
  if (!MaskAllocated) return;
  // The placeholder byte of a 0 x 0 mask is no pixel and stays as it is.
  if (MaskBytes().size() == mask_.size()) std::fill(mask_.begin(), mask_.end(), kMaskOutside);
  MaskTrimmed = false;
}

bool clsAnalysis::GetMaskPointer(std::vector<std::uint8_t>& pMask, std::int32_t& XSize,
                                 std::int32_t& YSize) const {
  if (!MaskAllocated) return false;
  const auto bytes = MaskBytes();
  pMask.assign(bytes.begin(), bytes.end());
  XSize = maskWidth_;
  YSize = maskHeight_;
  return true;
}

std::span<std::uint8_t> clsAnalysis::MaskBytes() {
  return {mask_.data(),
          static_cast<std::size_t>(maskWidth_) * static_cast<std::size_t>(maskHeight_)};
}

std::span<const std::uint8_t> clsAnalysis::MaskBytes() const {
  return {mask_.data(),
          static_cast<std::size_t>(maskWidth_) * static_cast<std::size_t>(maskHeight_)};
}

std::uint8_t clsAnalysis::MaskAt(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= maskWidth_ || y >= maskHeight_) return kMaskOutside;
  return mask_[static_cast<std::size_t>(y) * static_cast<std::size_t>(maskWidth_) +
               static_cast<std::size_t>(x)];
}

}  // namespace orvale
