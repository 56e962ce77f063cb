#include "cards/melvex/ConfigRules.h"

#include <algorithm>
#include <iterator>

#include "cards/melvex/DigitizerLimits.h"

namespace orvale::melvex {

namespace {

constexpr int kMinimumSize = 10;
constexpr int kMaxRegisterDelay = 1023;

ZlpSnapRequest WholeArea(const ZlpLimits& limits) {
  return ZlpSnapRequest{0, limits.xMax, limits.xMax, 0, limits.yMax, limits.yMax, 1, 0};
}

// The enable flag of a format; null for a format no flag offers.
std::int32_t* EnableFlag(ZlvConfig& c, int format) {
  switch (format) {
    case 1: return &c.gray256Enable;
    case 2: return &c.gray16Enable;
    case 3: return &c.color256Enable;
    case 4: return &c.color32kEnable;
    case 5: return &c.color64kEnable;
    case 7: return &c.color16MEnable;
    case 8: return &c.color32bitEnable;
    default: return nullptr;
  }
}

// One axis of a request: output size, offset and active size against the axis's limit.
void ClampAxis(std::uint16_t& pixels, std::uint16_t& offset, std::uint16_t& active, int max,
               int pixelsMax, int maxOffset) {
  pixels = static_cast<std::uint16_t>(std::clamp<int>(pixels, kMinimumSize, pixelsMax));
  offset = static_cast<std::uint16_t>(std::min<int>(offset, std::min(max - kMinimumSize, maxOffset)));
  active = static_cast<std::uint16_t>(std::max<int>(std::min<int>(active, max - offset), kMinimumSize));
  if (pixels * 14 < active) pixels = static_cast<std::uint16_t>(active / 14 + 1);
}

}  // namespace

ZlvConfig DefaultConfig(const ZlpLimits& limits525, const ZlpLimits& limits625) {
  ZlvConfig c{};
  c.gamma = 1.0f;
  c.requestNTSC = WholeArea(limits525);
  c.requestPAL = WholeArea(limits625);
  c.outputFormat = 7;
  c.gray16Enable = c.gray256Enable = c.color256Enable = c.color16MEnable = 1;
  c.color32kEnable = c.color64kEnable = c.color32bitEnable = 1;
  return c;
}

void ChooseOutputFormat(ZlvConfig& c) {
  if (c.outputFormat < 1 || c.outputFormat > 8 || c.outputFormat == 6) c.outputFormat = 7;
  // The replacement order of each format; every row lists all six others (the 32k row
  // ends with 64k colours).
  struct Row {
    int format;
    int order[6];
  };
  static constexpr Row kRows[] = {
      {2, {1, 7, 5, 4, 8, 3}}, {1, {2, 7, 5, 4, 8, 3}}, {3, {7, 5, 4, 8, 1, 2}}, {7, {8, 5, 4, 3, 1, 2}},
      {4, {7, 8, 3, 1, 2, 5}}, {5, {4, 7, 8, 3, 1, 2}}, {8, {7, 5, 4, 3, 1, 2}},
  };
  for (const Row& row : kRows) {
    if (c.outputFormat != row.format || *EnableFlag(c, row.format) != 0) continue;
    const int* offered = std::find_if(std::begin(row.order), std::end(row.order),
                                      [&](int f) { return *EnableFlag(c, f) != 0; });
    if (offered != std::end(row.order)) {
      c.outputFormat = *offered;
    } else {
      c.color16MEnable = 1;
      c.outputFormat = 7;
    }
    return;
  }
}

void ClampRequest(ZlpSnapRequest& r, const ZlpLimits& limits, int standard) {
  ClampAxis(r.xPixels, r.xOffset, r.xActive, limits.xMax, limits.xPixelsMax,
            kMaxRegisterDelay - HorizontalBase(standard));
  const int yMax = r.interlaced != 0 ? limits.yMax : limits.yMax / 2;
  ClampAxis(r.yPixels, r.yOffset, r.yActive, yMax, limits.yPixelsMax, yMax);
}

int SquarePixelWidth(const ZlpSnapRequest& r, int standard) {
  const int width = standard == k625Line ? (r.xActive * 768 + 460) / 920 : (r.xActive * 640 + 377) / 754;
  return r.interlaced != 0 ? width : width / 2;
}

}  // namespace orvale::melvex
