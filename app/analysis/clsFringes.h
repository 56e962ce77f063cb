#pragma once
// The traced fringes of one interferogram: up to 200 fringes, each a list of up to
// 4000 centre points in image pixels with its fringe order. A fringe is addressed by
// its order or by its record number 1..200; members that take both look the record up
// from the order when the record is given as kNoOrder, and write it back.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "app/analysis/Points.h"
#include "platform/runtime/Markers.h"

namespace orvale {

namespace gdi {
class DeviceContext;
}
class LineSource;
class TextOutput;
class clsParser;

// How the reading of a "Fringes" section ended. In every case the store holds what was
// read before the end, consistent in itself.
enum class FringeLoadResult {
  Complete,   // up to its "EndFringes" line
  BadValue,   // stopped at a count or order out of range (the line's rest is skipped)
  Truncated,  // the file, or its reading, ended before "EndFringes"
};

// Marks a free record, a missing order and a failed lookup.
inline constexpr std::int32_t kNoOrder = kNotGivenLong;
inline constexpr std::int32_t kMaxFringes = 200;
inline constexpr std::int32_t kMaxFringeTicks = 4000;
// Half the side of the square around a clicked point in which Find hits a centre.
inline constexpr double kFringeHitDistance = 3.0;

// What fringe drawing takes from the program: the toolbox's current order, whose fringe
// is drawn in white, and the drawing line width, how far each cross reaches to either
// side of its centre (3 on the screen, more on printers).
struct FringeMarkStyle {
  std::int32_t CurrentOrder = kNoOrder;
  std::int32_t LineWidth = 3;
};

// One fringe. Points are allocated as they are added; 4000 is a limit, not a size.
// A record is free exactly when its Order is kNoOrder, and a free record holds no points.
struct FringeRecord {
  std::vector<PointD> Points;
  std::int32_t Order = kNoOrder;

  std::int32_t NumTicks() const { return static_cast<std::int32_t>(Points.size()); }
  bool InUse() const { return Order != kNoOrder; }
};

class clsFringes {
 public:
  // Fringes in use occupy records 1..NumFringes (with holes only between a combine
  // and the Defrag that follows it).
  std::int32_t NumFringes() const { return numFringes_; }
  // Takes 0..200 (other values change nothing); records above the new count are freed.
  void SetNumFringes(std::int32_t value);

  // Sum of the point counts of records 1..NumFringes.
  std::int32_t TotalNumTicks() const;

  // Writes the "Fringes" ... "EndFringes" section. A failed line goes to
  // FileErrorPrompt: retry writes it again, ignore goes on with the next line, abort
  // ends the section. False only when the user aborted.
  bool SaveToFile(TextOutput& FileNum) const;

  // Reads the section after its "Fringes" line from the parser's file and replaces the
  // store's content with it. Counts come from what is there: NumFringes is the number
  // of fringes given an order, a fringe's point count the number of "Center" lines read
  // (no more than its "NumTicks" line says). Centres with a coordinate that is not a
  // finite number are dropped.
  FringeLoadResult LoadFromFile(LineSource& FileNum, clsParser& Parser);

  // The first point within kFringeHitDistance of (X, Y) in both directions, fringes in
  // record order and points in order: its fringe's order, point number and record.
  // None: all three kNoOrder.
  void Find(double X, double Y, std::int32_t& FringeOrder, std::int32_t& FringeCenter,
            std::int32_t& FringeIndex) const;

  // Drawing: every centre is a cross at screen point ((x - offsetx) x ScaleFactor,
  // (y - offsety) x ScaleFactor), rounded; XORPen draws in XOR mode, so that drawing the
  // same twice restores the picture, otherwise in copy mode. Colours by order modulo 3
  // (0 cyan, 1 magenta, 2 yellow), the current order white. The device's raster mode
  // and pen are restored afterwards.
  // All fringes with pens `thickness` wide; on a one-bit device every fringe is white.
  void DrawAll(gdi::DeviceContext& hDC, double ScaleFactor, double offsetx, double offsety,
               bool XORPen, std::int32_t thickness, const FringeMarkStyle& style) const;
  // All fringes but point `tick` of record `Index` (the point being dragged); one pixel
  // wide.
  void DrawAllExceptOne(gdi::DeviceContext& hDC, double ScaleFactor, double offsetx,
                        double offsety, std::int32_t Index, std::int32_t tick, bool XORPen,
                        const FringeMarkStyle& style) const;
  // One fringe, one pixel wide; nothing for a record outside 1..200.
  void DrawOrder(gdi::DeviceContext& hDC, std::int32_t Order, double ScaleFactor,
                 double offsetx, double offsety, std::int32_t& Index, bool XORPen,
                 const FringeMarkStyle& style) const;
  // One point of a fringe; nothing for a record outside 1..200 or a point outside
  // 1..NumTicks.
  void DrawCenter(gdi::DeviceContext& hDC, std::int32_t Order, std::int32_t tick,
                  double ScaleFactor, double offsetx, double offsety, std::int32_t& Index,
                  bool XORPen, const FringeMarkStyle& style) const;

  // Point count of the fringe; kNoOrder when both arguments are kNoOrder, when the
  // lookup fails or when the record lies outside 1..200.
  std::int32_t GetNumTicks(std::int32_t Order, std::int32_t& Index) const;
  // The points of record `Index` in order; none for a record outside 1..200.
  std::span<const PointD> RecordPoints(std::int32_t Index) const;
  // Lowest record among 1..NumFringes with that order; kNoOrder when none.
  std::int32_t GetFringeIndex(std::int32_t Order) const;
  // Order of a record 1..200; kNoOrder otherwise.
  std::int32_t GetFringeOrder(std::int32_t Index) const;

  // Point buffers are indexed 1..npts; element 0 is unused, so each must hold at
  // least npts + 1 elements.
  // Appends points 1..npts to a fringe in use when it then holds at most 4000 points;
  // otherwise adds none of them.
  void AddCenters(std::int32_t Order, std::int32_t npts, std::span<const double> xBuffer,
                  std::span<const double> yBuffer, std::int32_t& Index);
  void AddCenter(std::int32_t Order, double X, double Y, std::int32_t& Index);
  // Point `tick`; X = Y = 1E+308 when the lookup fails or `tick` is outside
  // 1..NumTicks; X and Y untouched when an explicit record is outside 1..200.
  void GetCenter(std::int32_t Order, std::int32_t tick, double& X, double& Y,
                 std::int32_t& Index) const;
  void SetCenter(std::int32_t Order, std::int32_t tick, double X, double Y,
                 std::int32_t& Index);
  void DeleteCenter(std::int32_t Order, std::int32_t tick, std::int32_t& Index);
  // Swaps x and y of every point.
  void TransposeAll();

  // A new empty fringe in the first free record; its record, or kNoOrder when the
  // order lies outside 1..200 or the store is full.
  std::int32_t AddOrder(std::int32_t Order);
  // Gives record `Index` (a fringe in use, 1..NumFringes) the order 1..200.
  void SetOrder(std::int32_t Order, std::int32_t Index);
  // Appends the source fringe's points to the destination fringe and frees the source
  // record. NumFringes stays: the caller closes the hole with Defrag(kNoOrder).
  bool CombineOrders(std::int32_t OrderDest, std::int32_t OrderSrc, std::int32_t& indexDest,
                     std::int32_t& indexSrc);
  // A new fringe holding points 1..npts; its record or kNoOrder.
  std::int32_t InsertOrder(std::int32_t Order, std::int32_t npts,
                           std::span<const double> xBuffer, std::span<const double> yBuffer);
  // Removes a fringe in use, closes its place and lowers the orders above `Order`.
  void DeleteOrder(std::int32_t Order, std::int32_t& Index);
  void DeleteAll();
  // Index 1..NumFringes - 1 of a free record: the records above it move down by one
  // (NumFringes is the caller's). kNoOrder: compacts the whole store and recounts
  // NumFringes.
  void Defrag(std::int32_t Index);
  // DeleteFlag true: orders above `Order` fall by one; false: orders from `Order` up
  // rise by one. Changes nothing and returns false when an order would leave 1..200.
  bool Renumber(std::int32_t Order, bool DeleteFlag);
  // True when a point within Distance of (X, Y) in both directions belongs to a fringe
  // whose order differs from (OtherFringe) or equals (not OtherFringe) `Order`.
  bool FindInOtherFringe(double X, double Y, std::int32_t Order, double Distance,
                         bool OtherFringe) const;
  // Halves every coordinate.
  void HalfFringeData();

 private:
  // Record `Index`, or nullptr outside 1..200.
  FringeRecord* Record(std::int32_t Index);
  const FringeRecord* Record(std::int32_t Index) const;
  void ResolveIndex(std::int32_t Order, std::int32_t& Index) const;
  // The fringe in use at `Index` (after the lookup), or nullptr.
  FringeRecord* FringeInUse(std::int32_t Order, std::int32_t& Index);
  std::int32_t FirstFreeRecord() const;

  std::int32_t numFringes_ = 0;
  // Records 1..200; element 0 is unused.
  std::array<FringeRecord, kMaxFringes + 1> records_{};
};

}  // namespace orvale
