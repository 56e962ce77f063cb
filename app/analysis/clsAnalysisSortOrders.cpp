// Numbering of traced fringes from one side of the pupil to the other, and the joining
// of the two halves of fringes cut by the central obstruction.
#include <algorithm>
#include <limits>
#include <vector>

#include "app/analysis/TraceFrame.h"
#include "app/analysis/clsAnalysis.h"
#include "app/analysis/clsFringes.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// Where a fringe lies, from its rounded points, and whether an end stops at the
// obstruction.
struct FringeEnds {
  bool inUse = false;
  std::int64_t leftX = std::numeric_limits<std::int64_t>::max();  // no points: numbered last
  std::int64_t topX = 0;
  std::int64_t topY = 0;
  std::int64_t bottomX = 0;
  std::int64_t bottomY = 0;
  bool hasPoints = false;
  bool topBroken = false;
  bool bottomBroken = false;
};

FringeEnds MeasureFringe(const clsFringes& store, std::int32_t record) {
  FringeEnds ends;
  if (store.GetFringeOrder(record) == kNoOrder) return ends;
  ends.inUse = true;
  for (const PointD& p : store.RecordPoints(record)) {
    const std::int64_t x = RoundToInt32(p.x);
    const std::int64_t y = RoundToInt32(p.y);
    if (!ends.hasPoints || x < ends.leftX) ends.leftX = x;
    if (!ends.hasPoints || y < ends.topY) {
      ends.topY = y;
      ends.topX = x;
    }
    if (!ends.hasPoints || y > ends.bottomY) {
      ends.bottomY = y;
      ends.bottomX = x;
    }
    ends.hasPoints = true;
  }
  return ends;
}

// Whether the rectangle of columns x0..x1 and rows y0..y1 holds obstruction pixels.
bool TouchesObstruction(const TraceFrame& frame, std::int64_t x0, std::int64_t x1, std::int64_t y0,
                        std::int64_t y1) {
  x0 = std::max<std::int64_t>(x0, 0);
  y0 = std::max<std::int64_t>(y0, 0);
  x1 = std::min<std::int64_t>(x1, frame.Width() - 1);
  y1 = std::min<std::int64_t>(y1, frame.Height() - 1);
  for (std::int64_t y = y0; y <= y1; ++y)
    for (std::int64_t x = x0; x <= x1; ++x)
      if (frame.MaskByte(x, y) == clsAnalysis::kMaskObstruction) return true;
  return false;
}

// The first (downwards) or last usable row of a column; -1 when it has none.
std::int64_t EdgeRow(const TraceFrame& frame, std::int64_t x, bool lowest) {
  if (x < 0 || x >= frame.Width()) return -1;
  for (std::int64_t i = 0; i < frame.Height(); ++i) {
    const std::int64_t y = lowest ? frame.Height() - 1 - i : i;
    if (frame.Usable(x, y)) return y;
  }
  return -1;
}

// The ends of a fringe that stop at the obstruction well inside the pupil: an end
// nearer than the edge gap to the pupil's edge in its column is left alone.
void FindBrokenEnds(const TraceFrame& frame, const AutoTraceParameters& p, FringeEnds& ends) {
  if (!ends.hasPoints) return;
  const std::int64_t w = p.Window;
  const std::int64_t lowest = EdgeRow(frame, ends.bottomX, true);
  if (lowest >= 0 && ends.bottomY + p.EdgeGap < lowest)
    ends.bottomBroken = TouchesObstruction(frame, ends.bottomX - w, ends.bottomX + w - 1,
                                           ends.bottomY - w, ends.bottomY + w - 1);
  const std::int64_t highest = EdgeRow(frame, ends.topX, false);
  if (highest >= 0 && ends.topY - p.EdgeGap > highest)
    ends.topBroken = TouchesObstruction(frame, ends.topX - w, ends.topX + w - 1, ends.topY - w,
                                        ends.topY + w + 1);
}

}  // namespace

void clsAnalysis::SortOrders(clsFringes& pFringe) const {
  SortOrders(pFringe, TraceFrame(MaskBytes(), maskWidth_, maskHeight_));
}

void clsAnalysis::SortOrders(clsFringes& store, const TraceFrame& frame) const {
  const std::int32_t count = store.NumFringes();
  std::vector<FringeEnds> fringes(static_cast<std::size_t>(count) + 1);
  for (std::int32_t i = 1; i <= count; ++i) {
    FringeEnds& ends = fringes[static_cast<std::size_t>(i)];
    ends = MeasureFringe(store, i);
    FindBrokenEnds(frame, autoTrace_, ends);
  }

  std::vector<bool> taken(fringes.size(), false);
  // The untaken fringe in use furthest to the left that `fits`; the lowest record on ties.
  auto leftmost = [&](auto fits) {
    std::int32_t best = 0;
    for (std::int32_t i = 1; i <= count; ++i) {
      const FringeEnds& ends = fringes[static_cast<std::size_t>(i)];
      if (!ends.inUse || taken[static_cast<std::size_t>(i)] || !fits(i)) continue;
      if (best == 0 || ends.leftX < fringes[static_cast<std::size_t>(best)].leftX) best = i;
    }
    return best;
  };

  bool combined = false;
  for (std::int32_t order = 1;; ++order) {
    const std::int32_t j = leftmost([](std::int32_t) { return true; });
    if (j == 0) break;
    taken[static_cast<std::size_t>(j)] = true;
    store.SetOrder(order, j);
    FringeEnds& ends = fringes[static_cast<std::size_t>(j)];
    if (!ends.topBroken && !ends.bottomBroken) continue;
    // A half broken at its bottom continues in a half broken at its top, and the
    // other way round.
    const bool wantTopBroken = ends.bottomBroken;
    const std::int32_t partner = leftmost([&](std::int32_t i) {
      const FringeEnds& other = fringes[static_cast<std::size_t>(i)];
      return i != j && (wantTopBroken ? other.topBroken : other.bottomBroken);
    });
    if (partner == 0) continue;
    std::int32_t dest = j;
    std::int32_t source = partner;
    if (!store.CombineOrders(0, 0, dest, source)) continue;
    FringeEnds& other = fringes[static_cast<std::size_t>(partner)];
    ends.topBroken = ends.bottomBroken = false;
    other.topBroken = other.bottomBroken = false;
    taken[static_cast<std::size_t>(partner)] = true;
    combined = true;
  }
  if (combined) store.Defrag(kNoOrder);
}

}  // namespace orvale
