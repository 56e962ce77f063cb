#pragma once
// The axis record shared by the 2-D chart frame, the 3-D chart frame and the contour
// plot's level axis.
#include <cstdint>

#include "app/document/FontSpec.h"
#include "platform/gdi/Color.h"

namespace orvale {

// Tick-mark style codes.
inline constexpr std::int32_t kTickNone = 0;
inline constexpr std::int32_t kTickInside = 1;
inline constexpr std::int32_t kTickOutside = 2;
inline constexpr std::int32_t kTickAcross = 3;

// A pen as the charts keep it: a GDI pen style (5 = no line), a width in device pixels
// and a colour.
struct PenTriple {
  std::int32_t Style = 0;
  std::int32_t Width = 0;
  gdi::Color Color = 0;
};

inline constexpr std::int32_t kPenStyleNone = 5;

// One axis. A value-initialised record is all zero; each owner sets its own defaults.
struct ChartAxis {
  bool AutoMin = false;
  bool AutoMax = false;
  // Also spreads ticks, labels and major grid lines evenly over the whole axis.
  bool AutoMajor = false;
  // Also spreads minor ticks and minor grid lines evenly.
  bool AutoMinor = false;
  bool AutoCross = false;
  bool LogScale = false;
  std::int32_t MajorTickStyle = kTickNone;
  std::int32_t MinorTickStyle = kTickNone;
  bool Visible = false;
  PenTriple AxisPen;
  PenTriple TickPen;
  double Min = 0;
  double Max = 0;
  double Major = 0;  // on a log axis the factor between labelled decades
  double Minor = 0;
  double Cross = 0;  // value on this axis where the perpendicular axis line is drawn
  std::int32_t SFactorIdx = 0;   // scale-factor index 0..16, 8 = exponent 0
  std::int32_t LabelDigits = 0;  // digits for FormatSignificant, 0 = automatic
  std::int32_t NumLabels = 0;
  FontSpec LabelFont;  // its caption holds the labels, each followed by "|"
  FontSpec TitleFont;
};

// Most tick labels an axis builds.
inline constexpr std::int32_t kMaxTickLabels = 64;

}  // namespace orvale
