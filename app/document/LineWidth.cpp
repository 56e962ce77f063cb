#include "app/document/LineWidth.h"

#include <cmath>

#include "platform/gdi/DeviceContext.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

std::int32_t LineWidth = 3;

double PageToScreenRatio(const gdi::DeviceCaps& printer, const gdi::DeviceCaps& screen) {
  const double pw = printer.physicalWidth;
  const double ph = printer.physicalHeight;
  const double sw = screen.horzRes;
  const double sh = screen.vertRes;
  const double pageSum = pw * pw + ph * ph;
  const double screenSum = sw * sw + sh * sh;
  if (pageSum == 0 || screenSum == 0) return 0;
  return std::sqrt(pageSum / screenSum);
}

void SetLineWidthForDevice(const gdi::DeviceContext* printer) {
  LineWidth = 3;
  if (printer == nullptr) return;
  const double ratio = PageToScreenRatio(printer->Caps(), gdi::ScreenDeviceCaps());
  if (ratio > 1) LineWidth = RoundToInt32(3 * ratio);
}

}  // namespace orvale
