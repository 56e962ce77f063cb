// Finding the active picture area of the camera: a monochrome snap of the whole limit
// area, scanned for samples of 24 or more. The top and left edges come from the first
// 100 lines and columns, the right and bottom edges from the last 200 lines (on a card
// with narrow output lines, from a second snap of the bottom-right 200 x 200 corner).
#include <algorithm>
#include <vector>

#include "cards/melvex/DeviceRequests.h"
#include "cards/melvex/DigitizerLimits.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

namespace {
constexpr std::uint8_t kPictureLevel = 24;
constexpr int kEdgeBand = 100;
constexpr int kCornerSize = 200;

bool HasPicture(const std::uint8_t* line, int from, int to) {
  for (int i = std::max(from, 0); i < to; ++i) {
    if (line[i] >= kPictureLevel) return true;
  }
  return false;
}
}  // namespace

std::int32_t ZelvoLibrary::ZLP_autoCrop(ZlpSnapRequest* request) {
  ExportScope scope(*this, export_name::ZLP_autoCrop);
  CardSession* session = Current();
  if (session == nullptr) return Fail(code::kNotInitialised);
  if (!session->configured) return Fail(code::kNotConfigured);
  if (request == nullptr) return Fail(code::kBadPointer);

  const ZlpLimits limits = LimitsOf(session->videoStandard);
  const int xMax = limits.xMax;
  const int yMax = limits.yMax;
  const auto snapArea = [&](int x, int y, int width, int height) -> std::int32_t {
    const ZlpSnapRequest area{static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(width),
                              static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(y),
                              static_cast<std::uint16_t>(height), static_cast<std::uint16_t>(height), 1, 1};
    if (const std::int32_t rc = ZLP_prepareSnap(&area)) return rc;
    if (const std::int32_t rc = ZLP_startSnap()) return rc;
    if (const std::int32_t rc = ZLP_finishSnap()) return rc;
    return ResetReadoutPointer() ? code::kOk : code::kLostContact;
  };
  const int width = session->narrowOutput ? std::min(xMax, kNarrowLineLimit) : xMax;
  const int height = session->narrowOutput ? std::min(yMax, kNarrowLineLimit) : yMax;
  if (const std::int32_t rc = snapArea(0, 0, width, height)) return rc;

  // Lines are read in order, one pointer advance each, from the line the pointer is at.
  std::vector<std::uint8_t> line(static_cast<std::size_t>(width) + 2, 0);
  int pointer = 0;
  int lastLine = height - 1;
  const auto readLine = [&]() -> bool {
    const auto units = static_cast<std::uint32_t>((session->hwWidth + 1) / 2);
    if (!ReadCardMemory(session->dataWindow, units, line)) return false;
    ++pointer;
    return AdvanceReadoutPointer();
  };

  int top = kEdgeBand;
  for (int y = 0; y < kEdgeBand && y <= lastLine; ++y) {
    if (!readLine()) return Fail(code::kLostContact);
    if (HasPicture(line.data(), 0, xMax / 4)) {
      top = y;
      break;
    }
  }
  int left = kEdgeBand;
  for (int n = 0; n < kEdgeBand && pointer <= lastLine; ++n) {
    if (!readLine()) return Fail(code::kLostContact);
    for (int i = 0; i < left; ++i) {
      if (line[i] >= kPictureLevel) {
        left = i;
        break;
      }
    }
  }

  // Right and bottom, in frame coordinates; on a narrow card the corner snap's sample i
  // and line j lie at (xMax - 200 + i, yMax - 200 + j).
  int originX = 0;
  int y = yMax - kCornerSize;
  if (session->narrowOutput) {
    if (const std::int32_t rc = snapArea(xMax - kCornerSize, yMax - kCornerSize, kCornerSize, kCornerSize)) {
      return rc;
    }
    originX = xMax - kCornerSize;
    pointer = 0;
    lastLine = kCornerSize - 1;
  } else {
    while (pointer < y) {
      if (!AdvanceReadoutPointer()) return Fail(code::kLostContact);
      ++pointer;
    }
  }
  const int lineOffset = y - pointer;  // frame line of the card line the pointer is at
  int right = xMax - kEdgeBand;
  int bottom = yMax - kEdgeBand;
  const int samples = session->hwWidth;
  for (; y <= bottom + 1 && y - lineOffset <= lastLine; ++y) {
    if (!readLine()) return Fail(code::kLostContact);
    for (int x = originX + samples - 1; x > right; --x) {
      if (line[x - originX] >= kPictureLevel) {
        right = x;
        break;
      }
    }
    if (y > bottom && HasPicture(line.data(), xMax - xMax / 4 - originX, samples)) bottom = y;
  }

  request->xOffset = static_cast<std::uint16_t>(left + 1);
  request->xActive = static_cast<std::uint16_t>(right - left - 1);
  int yOffset = top;
  int yActive = bottom - top + 1;
  if (request->interlaced == 0) {
    yOffset /= 2;
    yActive /= 2;
  }
  request->yOffset = static_cast<std::uint16_t>(yOffset);
  request->yActive = static_cast<std::uint16_t>(yActive);
  return code::kOk;
}

}  // namespace orvale::melvex
