#include "app/analysis/clsFringes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "app/analysis/KeywordSection.h"
#include "app/analysis/LineParser.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/TextOutput.h"

namespace orvale {

namespace {

bool IsFringeOrder(std::int32_t order) { return order >= 1 && order <= kMaxFringes; }

// Coordinates that the section format can carry and read back.
bool IsFinitePoint(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

// Points 1..npts of two 1-based buffers, or false when they do not hold that many or
// hold a coordinate that is not a number.
bool TakePoints(std::int32_t npts, std::span<const double> xBuffer,
                std::span<const double> yBuffer, std::vector<PointD>& points) {
  if (npts < 0) return false;
  const auto needed = static_cast<std::size_t>(npts) + 1;
  if (xBuffer.size() < needed || yBuffer.size() < needed) return false;
  points.reserve(points.size() + static_cast<std::size_t>(npts));
  for (std::int32_t i = 1; i <= npts; ++i) {
    if (!IsFinitePoint(xBuffer[i], yBuffer[i])) return false;
    points.push_back({xBuffer[i], yBuffer[i]});
  }
  return true;
}

bool Within(const PointD& p, double x, double y, double distance) {
  return std::fabs(p.x - x) <= distance && std::fabs(p.y - y) <= distance;
}

// ---- Drawing ----

constexpr gdi::Color kWhite = 0xFFFFFF;

// Cyan, magenta and yellow by order modulo 3.
gdi::Color OrderColor(std::int32_t order) {
  static constexpr gdi::Color kByOrder[3] = {0xFFFF00, 0xFF00FF, 0x00FFFF};
  return kByOrder[order % 3];
}

// Image pixels to device pixels, and how far a cross reaches from its centre.
struct ScreenMapping {
  double scale;
  double offsetx;
  double offsety;
  std::int32_t reach;
};

ScreenMapping MakeMapping(double ScaleFactor, double offsetx, double offsety,
                          const FringeMarkStyle& style) {
  // A reach beyond any device would only overflow the arithmetic.
  constexpr std::int32_t kMaxReach = 1 << 20;
  return {ScaleFactor, offsetx, offsety, std::clamp(style.LineWidth, 0, kMaxReach)};
}

// A horizontal and a vertical line through the centre, each leaving out its end pixel.
void DrawCross(gdi::DeviceContext& dc, const PointD& p, const ScreenMapping& m) {
  const double sx = RoundHalfEven((p.x - m.offsetx) * m.scale);
  const double sy = RoundHalfEven((p.y - m.offsety) * m.scale);
  // A centre this far off lies on no device; its cross cannot show.
  constexpr double kFarOff = 1 << 29;
  if (!(std::fabs(sx) <= kFarOff && std::fabs(sy) <= kFarOff)) return;
  const int px = static_cast<int>(sx);
  const int py = static_cast<int>(sy);
  dc.MoveTo(px - m.reach, py);
  dc.LineTo(px + m.reach + 1, py);
  dc.MoveTo(px, py - m.reach);
  dc.LineTo(px, py + m.reach + 1);
}

// Sets the raster mode for one drawing member and puts the caller's back.
class RasterModeScope {
 public:
  RasterModeScope(gdi::DeviceContext& dc, bool xorPen)
      : dc_(dc), previous_(dc.SetROP2(xorPen ? gdi::R2_XORPEN : gdi::R2_COPYPEN)) {}
  ~RasterModeScope() {
    if (previous_ != 0) dc_.SetROP2(previous_);
  }
  RasterModeScope(const RasterModeScope&) = delete;
  RasterModeScope& operator=(const RasterModeScope&) = delete;

 private:
  gdi::DeviceContext& dc_;
  int previous_;
};

// Selects a pen for one fringe and selects the previous one back.
class PenScope {
 public:
  PenScope(gdi::DeviceContext& dc, const gdi::Pen& pen) : dc_(dc), previous_(dc.SelectPen(pen)) {}
  ~PenScope() { dc_.SelectPen(previous_); }
  PenScope(const PenScope&) = delete;
  PenScope& operator=(const PenScope&) = delete;

 private:
  gdi::DeviceContext& dc_;
  gdi::Pen previous_;
};

// The one-pixel pen of the single-fringe members: the white stock pen for the current
// order, a coloured pen otherwise.
std::optional<gdi::Pen> ThinPen(std::int32_t order, const FringeMarkStyle& style) {
  if (order == style.CurrentOrder) return gdi::StockPen(gdi::WHITE_PEN);
  return gdi::CreatePen(gdi::PS_SOLID, 1, OrderColor(order));
}

}  // namespace

FringeRecord* clsFringes::Record(std::int32_t Index) {
  if (Index < 1 || Index > kMaxFringes) return nullptr;
  return &records_[static_cast<std::size_t>(Index)];
}

const FringeRecord* clsFringes::Record(std::int32_t Index) const {
  if (Index < 1 || Index > kMaxFringes) return nullptr;
  return &records_[static_cast<std::size_t>(Index)];
}

void clsFringes::ResolveIndex(std::int32_t Order, std::int32_t& Index) const {
  if (Index == kNoOrder) Index = GetFringeIndex(Order);
}

FringeRecord* clsFringes::FringeInUse(std::int32_t Order, std::int32_t& Index) {
  ResolveIndex(Order, Index);
  FringeRecord* record = Record(Index);
  return record != nullptr && record->InUse() ? record : nullptr;
}

std::int32_t clsFringes::FirstFreeRecord() const {
  for (std::int32_t i = 1; i <= kMaxFringes; ++i)
    if (!records_[static_cast<std::size_t>(i)].InUse()) return i;
  return kNoOrder;
}

void clsFringes::SetNumFringes(std::int32_t value) {
  if (value < 0 || value > kMaxFringes) return;
  for (std::int32_t i = value + 1; i <= kMaxFringes; ++i)
    records_[static_cast<std::size_t>(i)] = FringeRecord{};
  numFringes_ = value;
}

std::int32_t clsFringes::TotalNumTicks() const {
  std::int32_t total = 0;
  for (std::int32_t i = 1; i <= numFringes_; ++i)
    total += records_[static_cast<std::size_t>(i)].NumTicks();
  return total;
}

bool clsFringes::SaveToFile(TextOutput& FileNum) const {
  // Only fringes in use are written: a free record left by a combine would read
  // back as a bad order and end the reading of every fringe after it.
  std::int32_t inUse = 0;
  for (std::int32_t i = 1; i <= numFringes_; ++i)
    if (records_[static_cast<std::size_t>(i)].InUse()) ++inUse;

  if (!WriteSectionLine(FileNum, "Fringes")) return false;
  if (!WriteSectionLine(FileNum, "NumFringes," + FormatWholeField(inUse))) return false;
  for (std::int32_t i = 1; i <= numFringes_; ++i) {
    const FringeRecord& record = records_[static_cast<std::size_t>(i)];
    if (!record.InUse()) continue;
    if (!WriteSectionLine(FileNum, "Order," + FormatWholeField(record.Order))) return false;
    if (!WriteSectionLine(FileNum, "NumTicks," + FormatWholeField(record.NumTicks())))
      return false;
    for (const PointD& p : record.Points) {
      if (!WriteSectionLine(FileNum,
                            "Center," + FormatDecimalField(p.x) + "," + FormatDecimalField(p.y)))
        return false;
    }
  }
  return WriteSectionLine(FileNum, "EndFringes");
}

FringeLoadResult clsFringes::LoadFromFile(LineSource& FileNum, clsParser& Parser) {
  // Read into a fresh store and take it over at the end, so that the store is
  // consistent whatever the section holds and wherever its reading ends.
  clsFringes loaded;
  std::int32_t f = 0;                          // record of the last "Order" line
  std::optional<std::int32_t> declaredTicks;  // its "NumTicks" value, when one came
  // A fringe keeps the points read, no more than its "NumTicks" line gives.
  auto finishRecord = [&] {
    if (f == 0 || !declaredTicks) return;
    std::vector<PointD>& points = loaded.records_[static_cast<std::size_t>(f)].Points;
    if (*declaredTicks < static_cast<std::int32_t>(points.size()))
      points.resize(static_cast<std::size_t>(*declaredTicks));
  };
  auto stop = [&](FringeLoadResult result) {
    finishRecord();
    loaded.Defrag(kNoOrder);  // NumFringes := the fringes that received an order
    // After a bad value the caller goes on with the next line.
    if (result == FringeLoadResult::BadValue) Parser.SkipLine();
    *this = std::move(loaded);
    return result;
  };

  while (Parser.Readline(FileNum)) {
    for (std::string key = LowerKey(Parser.GetToken()); !key.empty();
         key = LowerKey(Parser.GetToken())) {
      if (key == "numfringes") {
        const std::int32_t count = TokenAsWhole(Parser.GetToken());
        if (count < 0 || count > kMaxFringes) {
          loaded.DeleteAll();
          return stop(FringeLoadResult::BadValue);
        }
        // The count itself is not trusted: the "Order" lines make the fringes.
      } else if (key == "order") {
        finishRecord();
        if (f == kMaxFringes) return stop(FringeLoadResult::BadValue);
        ++f;
        declaredTicks.reset();
        const std::int32_t order = TokenAsWhole(Parser.GetToken());
        if (!IsFringeOrder(order)) return stop(FringeLoadResult::BadValue);
        loaded.records_[static_cast<std::size_t>(f)].Order = order;
      } else if (key == "numticks") {
        if (f == 0) {
          Parser.SkipLine();
          continue;
        }
        const std::int32_t ticks = TokenAsWhole(Parser.GetToken());
        if (ticks < 0 || ticks > kMaxFringeTicks) {
          loaded.records_[static_cast<std::size_t>(f)] = FringeRecord{};
          return stop(FringeLoadResult::BadValue);
        }
        declaredTicks = ticks;
      } else if (key == "center") {
        std::vector<PointD>* points =
            f == 0 ? nullptr : &loaded.records_[static_cast<std::size_t>(f)].Points;
        if (points == nullptr || points->size() >= static_cast<std::size_t>(kMaxFringeTicks)) {
          Parser.SkipLine();
          continue;
        }
        const double x = TokenAsReal(Parser.GetToken());
        const double y = TokenAsReal(Parser.GetToken());
        if (IsFinitePoint(x, y)) points->push_back({x, y});
      } else if (key == "endfringes") {
        return stop(FringeLoadResult::Complete);
      } else {
        break;  // an unknown key ends the line
      }
    }
  }
  return stop(FringeLoadResult::Truncated);
}

void clsFringes::Find(double X, double Y, std::int32_t& FringeOrder, std::int32_t& FringeCenter,
                      std::int32_t& FringeIndex) const {
  for (std::int32_t i = 1; i <= numFringes_; ++i) {
    const FringeRecord& record = records_[static_cast<std::size_t>(i)];
    for (std::int32_t tick = 1; tick <= record.NumTicks(); ++tick) {
      if (Within(record.Points[static_cast<std::size_t>(tick - 1)], X, Y, kFringeHitDistance)) {
        FringeOrder = record.Order;
        FringeCenter = tick;
        FringeIndex = i;
        return;
      }
    }
  }
  FringeOrder = kNoOrder;
  FringeCenter = kNoOrder;
  FringeIndex = kNoOrder;
}

void clsFringes::DrawAll(gdi::DeviceContext& hDC, double ScaleFactor, double offsetx,
                         double offsety, bool XORPen, std::int32_t thickness,
                         const FringeMarkStyle& style) const {
  const ScreenMapping mapping = MakeMapping(ScaleFactor, offsetx, offsety, style);
  const bool monochrome = hDC.GetDeviceCaps(gdi::BITSPIXEL) == 1;
  RasterModeScope mode(hDC, XORPen);
  for (std::int32_t i = 1; i <= numFringes_; ++i) {
    const FringeRecord& record = records_[static_cast<std::size_t>(i)];
    if (record.Points.empty()) continue;
    const bool white = monochrome || record.Order == style.CurrentOrder;
    const std::optional<gdi::Pen> pen =
        gdi::CreatePen(gdi::PS_SOLID, thickness, white ? kWhite : OrderColor(record.Order));
    if (!pen) return;
    PenScope selected(hDC, *pen);
    for (const PointD& p : record.Points) DrawCross(hDC, p, mapping);
  }
}

void clsFringes::DrawAllExceptOne(gdi::DeviceContext& hDC, double ScaleFactor, double offsetx,
                                  double offsety, std::int32_t Index, std::int32_t tick,
                                  bool XORPen, const FringeMarkStyle& style) const {
  const ScreenMapping mapping = MakeMapping(ScaleFactor, offsetx, offsety, style);
  RasterModeScope mode(hDC, XORPen);
  for (std::int32_t i = 1; i <= numFringes_; ++i) {
    const FringeRecord& record = records_[static_cast<std::size_t>(i)];
    if (record.Points.empty()) continue;
    const std::optional<gdi::Pen> pen = ThinPen(record.Order, style);
    if (!pen) return;
    PenScope selected(hDC, *pen);
    for (std::int32_t t = 1; t <= record.NumTicks(); ++t) {
      if (i == Index && t == tick) continue;
      DrawCross(hDC, record.Points[static_cast<std::size_t>(t - 1)], mapping);
    }
  }
}

void clsFringes::DrawOrder(gdi::DeviceContext& hDC, std::int32_t Order, double ScaleFactor,
                           double offsetx, double offsety, std::int32_t& Index, bool XORPen,
                           const FringeMarkStyle& style) const {
  ResolveIndex(Order, Index);
  const FringeRecord* record = Record(Index);
  if (record == nullptr || record->Points.empty()) return;
  const std::optional<gdi::Pen> pen = ThinPen(record->Order, style);
  if (!pen) return;
  const ScreenMapping mapping = MakeMapping(ScaleFactor, offsetx, offsety, style);
  RasterModeScope mode(hDC, XORPen);
  PenScope selected(hDC, *pen);
  for (const PointD& p : record->Points) DrawCross(hDC, p, mapping);
}

void clsFringes::DrawCenter(gdi::DeviceContext& hDC, std::int32_t Order, std::int32_t tick,
                            double ScaleFactor, double offsetx, double offsety,
                            std::int32_t& Index, bool XORPen,
                            const FringeMarkStyle& style) const {
  ResolveIndex(Order, Index);
  const FringeRecord* record = Record(Index);
  if (record == nullptr || tick < 1 || tick > record->NumTicks()) return;
  const std::optional<gdi::Pen> pen = ThinPen(record->Order, style);
  if (!pen) return;
  const ScreenMapping mapping = MakeMapping(ScaleFactor, offsetx, offsety, style);
  RasterModeScope mode(hDC, XORPen);
  PenScope selected(hDC, *pen);
  DrawCross(hDC, record->Points[static_cast<std::size_t>(tick - 1)], mapping);
}

std::int32_t clsFringes::GetNumTicks(std::int32_t Order, std::int32_t& Index) const {
  if (Order == kNoOrder && Index == kNoOrder) return kNoOrder;
  ResolveIndex(Order, Index);
  const FringeRecord* record = Record(Index);
  return record != nullptr ? record->NumTicks() : kNoOrder;
}

std::span<const PointD> clsFringes::RecordPoints(std::int32_t Index) const {
  const FringeRecord* record = Record(Index);
  if (record == nullptr) return {};
  return record->Points;
}

std::int32_t clsFringes::GetFringeIndex(std::int32_t Order) const {
  // The marker is not an order; it must not find the free records.
  if (Order == kNoOrder) return kNoOrder;
  for (std::int32_t i = 1; i <= numFringes_; ++i)
    if (records_[static_cast<std::size_t>(i)].Order == Order) return i;
  return kNoOrder;
}

std::int32_t clsFringes::GetFringeOrder(std::int32_t Index) const {
  const FringeRecord* record = Record(Index);
  return record != nullptr ? record->Order : kNoOrder;
}

void clsFringes::AddCenters(std::int32_t Order, std::int32_t npts,
                            std::span<const double> xBuffer, std::span<const double> yBuffer,
                            std::int32_t& Index) {
  FringeRecord* record = FringeInUse(Order, Index);
  if (record == nullptr || npts < 1 || record->NumTicks() + npts > kMaxFringeTicks) return;
  std::vector<PointD> added;
  if (!TakePoints(npts, xBuffer, yBuffer, added)) return;
  record->Points.insert(record->Points.end(), added.begin(), added.end());
}

void clsFringes::AddCenter(std::int32_t Order, double X, double Y, std::int32_t& Index) {
  FringeRecord* record = FringeInUse(Order, Index);
  if (record == nullptr || record->NumTicks() >= kMaxFringeTicks || !IsFinitePoint(X, Y)) return;
  record->Points.push_back({X, Y});
}

void clsFringes::GetCenter(std::int32_t Order, std::int32_t tick, double& X, double& Y,
                           std::int32_t& Index) const {
  const bool lookedUp = Index == kNoOrder;
  ResolveIndex(Order, Index);
  const FringeRecord* record = Record(Index);
  if (record == nullptr && !lookedUp) return;
  if (record == nullptr || tick < 1 || tick > record->NumTicks()) {
    X = kNotGivenDouble;
    Y = kNotGivenDouble;
    return;
  }
  const PointD& p = record->Points[static_cast<std::size_t>(tick - 1)];
  X = p.x;
  Y = p.y;
}

void clsFringes::SetCenter(std::int32_t Order, std::int32_t tick, double X, double Y,
                           std::int32_t& Index) {
  FringeRecord* record = FringeInUse(Order, Index);
  if (record == nullptr || tick < 1 || tick > record->NumTicks() || !IsFinitePoint(X, Y)) return;
  record->Points[static_cast<std::size_t>(tick - 1)] = {X, Y};
}

void clsFringes::DeleteCenter(std::int32_t Order, std::int32_t tick, std::int32_t& Index) {
  FringeRecord* record = FringeInUse(Order, Index);
  if (record == nullptr || tick < 1 || tick > record->NumTicks()) return;
  record->Points.erase(record->Points.begin() + (tick - 1));
}

void clsFringes::TransposeAll() {
  for (std::int32_t i = 1; i <= numFringes_; ++i)
    for (PointD& p : records_[static_cast<std::size_t>(i)].Points) std::swap(p.x, p.y);
}

std::int32_t clsFringes::AddOrder(std::int32_t Order) {
  if (!IsFringeOrder(Order)) return kNoOrder;
  const std::int32_t index = FirstFreeRecord();
  if (index == kNoOrder) return kNoOrder;
  FringeRecord& record = records_[static_cast<std::size_t>(index)];
  record = FringeRecord{};
  record.Order = Order;
  // A record taken from a hole lies inside the count already.
  numFringes_ = std::max(numFringes_, index);
  return index;
}

void clsFringes::SetOrder(std::int32_t Order, std::int32_t Index) {
  // Only a fringe in use is renamed: an order given to a free record would make it
  // a fringe outside 1..NumFringes, or one that the count does not include.
  FringeRecord* record = Record(Index);
  if (!IsFringeOrder(Order) || record == nullptr || !record->InUse()) return;
  record->Order = Order;
}

bool clsFringes::CombineOrders(std::int32_t OrderDest, std::int32_t OrderSrc,
                               std::int32_t& indexDest, std::int32_t& indexSrc) {
  ResolveIndex(OrderDest, indexDest);
  if (indexDest == kNoOrder) return false;
  ResolveIndex(OrderSrc, indexSrc);
  if (indexSrc == kNoOrder) return false;
  FringeRecord* dest = Record(indexDest);
  FringeRecord* src = Record(indexSrc);
  // A fringe joined onto itself would lose its points when the source is cleared.
  if (dest == nullptr || src == nullptr || dest == src || !dest->InUse() || !src->InUse())
    return false;
  if (dest->NumTicks() + src->NumTicks() > kMaxFringeTicks) return false;
  dest->Points.insert(dest->Points.end(), src->Points.begin(), src->Points.end());
  *src = FringeRecord{};
  return true;
}

std::int32_t clsFringes::InsertOrder(std::int32_t Order, std::int32_t npts,
                                     std::span<const double> xBuffer,
                                     std::span<const double> yBuffer) {
  if (!IsFringeOrder(Order) || npts < 0 || npts > kMaxFringeTicks) return kNoOrder;
  std::vector<PointD> points;
  if (!TakePoints(npts, xBuffer, yBuffer, points)) return kNoOrder;
  const std::int32_t index = AddOrder(Order);
  if (index != kNoOrder) records_[static_cast<std::size_t>(index)].Points = std::move(points);
  return index;
}

void clsFringes::DeleteOrder(std::int32_t Order, std::int32_t& Index) {
  if (numFringes_ == 0) return;
  ResolveIndex(Order, Index);
  // Only records inside the count: lowering the count for one above it would drop the
  // last fringe in use.
  if (Index < 1 || Index > numFringes_) return;
  records_[static_cast<std::size_t>(Index)] = FringeRecord{};
  Defrag(Index);
  // Defrag moved the free record to the top of the count.
  --numFringes_;
  Renumber(Order, true);
}

void clsFringes::DeleteAll() {
  for (FringeRecord& record : records_) record = FringeRecord{};
  numFringes_ = 0;
}

void clsFringes::Defrag(std::int32_t Index) {
  if (Index == kNoOrder) {
    // Keeps the order of the records in use and frees the rest.
    std::int32_t n = 0;
    for (std::int32_t i = 1; i <= kMaxFringes; ++i) {
      FringeRecord& record = records_[static_cast<std::size_t>(i)];
      if (!record.InUse()) continue;
      ++n;
      if (n != i) {
        records_[static_cast<std::size_t>(n)] = std::move(record);
        record = FringeRecord{};
      }
    }
    numFringes_ = n;
    return;
  }
  // Closing the place of a fringe in use would overwrite it.
  if (Index < 1 || Index >= numFringes_ || records_[static_cast<std::size_t>(Index)].InUse())
    return;
  for (std::int32_t i = Index; i < numFringes_; ++i)
    records_[static_cast<std::size_t>(i)] = std::move(records_[static_cast<std::size_t>(i + 1)]);
  records_[static_cast<std::size_t>(numFringes_)] = FringeRecord{};
}

bool clsFringes::Renumber(std::int32_t Order, bool DeleteFlag) {
  auto shifted = [&](std::int32_t current) {
    if (DeleteFlag) return current > Order ? current - 1 : current;
    return current >= Order ? current + 1 : current;
  };
  // An order pushed out of 1..200 could not be saved and read back.
  for (std::int32_t i = 1; i <= numFringes_; ++i) {
    const FringeRecord& record = records_[static_cast<std::size_t>(i)];
    if (record.InUse() && !IsFringeOrder(shifted(record.Order))) return false;
  }
  for (std::int32_t i = 1; i <= numFringes_; ++i) {
    FringeRecord& record = records_[static_cast<std::size_t>(i)];
    if (record.InUse()) record.Order = shifted(record.Order);
  }
  return true;
}

bool clsFringes::FindInOtherFringe(double X, double Y, std::int32_t Order, double Distance,
                                   bool OtherFringe) const {
  for (std::int32_t i = 1; i <= numFringes_; ++i) {
    const FringeRecord& record = records_[static_cast<std::size_t>(i)];
    if ((record.Order != Order) != OtherFringe) continue;
    for (const PointD& p : record.Points)
      if (Within(p, X, Y, Distance)) return true;
  }
  return false;
}

void clsFringes::HalfFringeData() {
  for (std::int32_t i = 1; i <= numFringes_; ++i) {
    for (PointD& p : records_[static_cast<std::size_t>(i)].Points) {
      p.x *= 0.5;
      p.y *= 0.5;
    }
  }
}

}  // namespace orvale
