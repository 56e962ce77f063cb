#include "platform/ui/ScreenTwips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackTwipsPerPixel = 15.0;
constexpr int kUsableOverlap = 32;

QScreen* PrimaryScreen() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
             ? QGuiApplication::primaryScreen()
             : nullptr;
}

}  // namespace

double TwipsPerPixel() {
  const QScreen* screen = PrimaryScreen();
  if (screen == nullptr) return kFallbackTwipsPerPixel;
  const double dpi = screen->logicalDotsPerInch();
  return dpi > 0.0 && std::isfinite(dpi) ? kTwipsPerInch / dpi : kFallbackTwipsPerPixel;
}

std::int32_t PixelsToTwips(std::int32_t pixels) {
  return RoundToInt32(static_cast<double>(pixels) * TwipsPerPixel());
}

std::int32_t TwipsToPixels(std::int32_t twips) {
  return RoundToInt32(static_cast<double>(twips) / TwipsPerPixel());
}

QRect AvailableScreenPixels() {
  const QScreen* screen = PrimaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QSize ScreenSizeTwips() {
  const QScreen* screen = PrimaryScreen();
  const QSize pixels = screen != nullptr ? screen->size() : QSize(1024, 768);
  return {PixelsToTwips(pixels.width()), PixelsToTwips(pixels.height())};
}

QPoint VisibleTopLeft(QPoint wanted, QSize size, QPoint fallback) {
  const QRect overlap = QRect(wanted, size).intersected(AvailableScreenPixels());
  if (overlap.width() >= kUsableOverlap && overlap.height() >= kUsableOverlap) return wanted;
  return fallback;
}

}  // namespace orvale
