// Automatic fringe tracing: seeds dark fringes along evenly spaced rows of the smoothed
// image and follows each from row to row, inside the usable pupil.
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "app/analysis/FringePointIndex.h"
#include "app/analysis/TraceFrame.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/AllocationReport.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// How far the tracer looks to either side of a fringe point for its dark centre.
constexpr std::int32_t kSearchReach = 19;
// A dip counts as a fringe once this many pixels after it are brighter by more than
// kDipDepth; a peak ends once more than this many are darker by more than kDipDepth.
constexpr std::int32_t kBrightAfterMinimum = 6;
constexpr std::int32_t kDarkAfterMaximum = 5;
constexpr std::int32_t kDipDepth = 5;
// The darkest-pixel search gives up after this many brighter pixels.
constexpr std::int32_t kRisesToStop = 3;
// A followed point needs this much usable pupil around it.
constexpr std::int32_t kFollowMargin = 2;

// Whatever ends a trace, hands the store back in image pixels and in the image's
// orientation: the tracer works at the mask's size, twice the image's for small
// images, and with x and y swapped for horizontal fringes.
class ImageFrameRestore {
 public:
  ImageFrameRestore(clsFringes& store, bool halve, bool transpose)
      : store_(store), halve_(halve), transpose_(transpose) {}
  ~ImageFrameRestore() {
    if (halve_) store_.HalfFringeData();
    if (transpose_) store_.TransposeAll();
  }
  ImageFrameRestore(const ImageFrameRestore&) = delete;
  ImageFrameRestore& operator=(const ImageFrameRestore&) = delete;

 private:
  clsFringes& store_;
  bool halve_;
  bool transpose_;
};

// The centre of the flat bottom around x on row y: the run of usable pixels no brighter
// than minimum + 1 reaching at most kSearchReach pixels to either side.
std::int32_t FlatBottomCentre(const TraceFrame& frame, std::int32_t x, std::int32_t y,
                              std::int32_t minimum) {
  auto flat = [&](std::int32_t column) {
    return frame.Usable(column, y) && frame.Smoothed(column, y) <= minimum + 1;
  };
  std::int32_t right = x;
  while (right - x < kSearchReach && flat(right + 1)) ++right;
  std::int32_t left = x;
  while (x - left < kSearchReach && flat(left - 1)) --left;
  return RoundToInt32((static_cast<double>(left) + right) / 2.0);
}

// Moves x on row y to the darkest pixel nearby: first to the left, then to the right of
// what was found there, each scan stopping at the pupil's edge, after kSearchReach
// pixels or after kRisesToStop brighter ones. `minimum` receives the darkest value.
std::int32_t DarkestNear(const TraceFrame& frame, std::int32_t x, std::int32_t y,
                         std::int32_t& minimum) {
  minimum = frame.Smoothed(x, y);
  std::int32_t best = x;
  auto scan = [&](std::int32_t from, std::int32_t step) {
    std::int32_t rises = 0;
    for (std::int32_t column = from + step; std::abs(column - from) <= kSearchReach;
         column += step) {
      if (!frame.Usable(column, y)) return;
      const std::int32_t value = frame.Smoothed(column, y);
      if (value < minimum) {
        minimum = value;
        best = column;
        rises = 0;
      } else if (value > minimum && ++rises == kRisesToStop) {
        return;
      }
    }
  };
  scan(x, -1);
  scan(best, +1);
  return best;
}

// A fringe can be followed onto pixel (x, y) when it and its neighbours two pixels away
// are usable pupil, two pixels or more inside the frame.
bool CanFollow(const TraceFrame& frame, std::int32_t x, std::int32_t y) {
  if (x < kFollowMargin || y < kFollowMargin || x >= frame.Width() - kFollowMargin ||
      y >= frame.Height() - kFollowMargin)
    return false;
  return frame.Usable(x, y) && frame.Usable(x - kFollowMargin, y) &&
         frame.Usable(x + kFollowMargin, y) && frame.Usable(x, y - kFollowMargin) &&
         frame.Usable(x, y + kFollowMargin);
}

void AddTracedPoint(clsFringes& store, FringePointIndex& points, std::int32_t f,
                    std::int32_t record, std::int32_t x, std::int32_t y) {
  std::int32_t index = record;
  const std::int32_t before = store.GetNumTicks(f, index);
  store.AddCenter(f, x, y, index);
  if (store.GetNumTicks(f, index) != before) points.Add(f, x, y);
}

}  // namespace

void clsAnalysis::SetAutoTraceParameters(std::int32_t Density) {
  if (const auto level = AutoTraceParametersForDensity(Density)) {
    autoTrace_ = *level;
    return;
  }
  // An unknown level keeps the loaded parameters; without any, a zero row spacing
  // would never end the seeding.
  if (autoTrace_.RowSpacing < 1 || autoTrace_.Step < 1)
    autoTrace_ = *AutoTraceParametersForDensity(kDefaultTraceDensity);
}

void clsAnalysis::AutoTrace(clsFringes& pFringe, std::span<const std::uint8_t> DataBuffer,
                            std::int32_t XSize, std::int32_t YSize, std::int32_t Direction,
                            std::int32_t FringeDensity) {
  if (!MaskAllocated || maskWidth_ < 1 || maskHeight_ < 1) return;
  SetAutoTraceParameters(FringeDensity);
  if (XSize < 1 || YSize < 1) return;
  const std::int64_t factor = MaskDoubleSize ? 2 : 1;
  if (maskWidth_ != factor * XSize || maskHeight_ != factor * YSize) return;
  if (DataBuffer.size() < static_cast<std::size_t>(XSize) * static_cast<std::size_t>(YSize)) return;
  const bool transpose = Direction == 0;

  pFringe.DeleteAll();
  try {
    const ImageFrameRestore restore(pFringe, MaskDoubleSize, transpose);
    const TraceFrame frame = TraceFrame::ForImage(
        DataBuffer.first(static_cast<std::size_t>(XSize) * static_cast<std::size_t>(YSize)), XSize,
        YSize, MaskBytes(), MaskDoubleSize, transpose);
    FringePointIndex points(frame.Height());
    SeedFringes(pFringe, points, frame);
    SortOrders(pFringe, frame);
  } catch (const std::bad_alloc&) {
    ReportOutOfMemory();
  } catch (const std::length_error&) {
    ReportOutOfMemory();
  }
}

void clsAnalysis::SeedFringes(clsFringes& store, FringePointIndex& points,
                              const TraceFrame& frame) const {
  const AutoTraceParameters& p = autoTrace_;
  if (p.RowSpacing < 1) return;  // never with loaded parameters
  const std::int32_t width = frame.Width();
  std::int32_t f = 1;
  for (std::int64_t row = p.RowSpacing; row < frame.Height(); row += p.RowSpacing) {
    const auto y = static_cast<std::int32_t>(row);
    std::int32_t start = 0;
    while (start < width && !frame.Usable(start, y)) ++start;
    if (start == width) continue;

    bool seekingMinimum = true;
    std::int32_t minimum = 255;
    std::int32_t brighter = 0;
    std::int32_t candidate = start;
    std::int32_t maximum = 0;
    std::int32_t darker = 0;
    for (std::int32_t x = start + 1; x < width; ++x) {
      if (!frame.Usable(x, y)) continue;
      const std::int32_t value = frame.Smoothed(x, y);
      if (seekingMinimum) {
        if (value < minimum) {
          minimum = value;
          candidate = x;
          brighter = 0;
        } else if (value > minimum + kDipDepth && ++brighter == kBrightAfterMinimum) {
          const std::int32_t seed = FlatBottomCentre(frame, candidate, y, minimum);
          if (!TraceFringe(store, points, frame, seed, y, f)) return;
          std::int32_t record = kNoOrder;
          if (store.GetNumTicks(f, record) < p.MinimumPoints) {
            points.RemoveOrder(f);
            store.DeleteOrder(f, record);
          } else {
            ++f;
          }
          seekingMinimum = false;
          maximum = 0;
          darker = 0;
        }
      } else if (value > maximum) {
        maximum = value;
        darker = 0;
      } else if (maximum > value + kDipDepth && ++darker > kDarkAfterMaximum) {
        seekingMinimum = true;
        minimum = 255;
        brighter = 0;
        candidate = x;
      }
    }
  }
}

bool clsAnalysis::TraceFringe(clsFringes& store, FringePointIndex& points, const TraceFrame& frame,
                              std::int32_t x0, std::int32_t y0, std::int32_t f) const {
  const AutoTraceParameters& p = autoTrace_;
  const std::int32_t record = store.AddOrder(f);
  if (record == kNoOrder) {
    ShowMessage("Too many fringes", mb::kOk, "Error");
    return false;
  }
  AddTracedPoint(store, points, f, record, x0, y0);

  // Upwards first, measuring the spacing from (0, 0); then downwards from the seed.
  for (const std::int32_t direction : {-1, +1}) {
    std::int64_t referenceX = direction < 0 ? 0 : x0;
    std::int64_t referenceY = direction < 0 ? 0 : y0;
    std::int32_t x = x0;
    std::int32_t y = y0;
    while (true) {
      y += direction;
      if (!CanFollow(frame, x, y)) break;
      std::int32_t minimum = 0;
      x = DarkestNear(frame, x, y, minimum);
      x = FlatBottomCentre(frame, x, y, minimum);
      std::int32_t index = record;
      if (store.GetNumTicks(f, index) >= kMaxFringeTicks) break;
      const std::int64_t dx = x - referenceX;
      const std::int64_t dy = y - referenceY;
      if (std::abs(dy) < p.Step || dx * dx + dy * dy < p.MinimumDistanceSquared) continue;
      referenceX = x;
      referenceY = y;
      if (points.FindInOtherFringe(x, y, f, p.StopRadius, true)) break;
      if (points.FindInOtherFringe(x, y, f, p.NearRadius, false)) continue;
      AddTracedPoint(store, points, f, record, x, y);
    }
  }
  return true;
}

}  // namespace orvale
