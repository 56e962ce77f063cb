#include "plugins/tavrel/DialogUnits.h"

#include <QFontMetrics>

namespace orvale {

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average over the letters, rounded, as the dialog manager measures it.
  const int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  baseX_ = (letters / 26 + 1) / 2;
  baseY_ = metrics.height();
}

int DialogUnits::X(int units) const { return (units * baseX_ + 2) / 4; }
int DialogUnits::Y(int units) const { return (units * baseY_ + 4) / 8; }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return {X(x), Y(y), X(width), Y(height)};
}

}  // namespace orvale
