#pragma once
// Dialog units, in which the plug-in's windows were laid out: a quarter of the font's
// average character width across and an eighth of its height down.
#include <QFont>
#include <QRect>

namespace orvale {

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  QRect Rect(int x, int y, int width, int height) const;
  int X(int units) const;
  int Y(int units) const;

 private:
  int baseX_;
  int baseY_;
};

}  // namespace orvale
