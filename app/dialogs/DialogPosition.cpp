#include "app/dialogs/DialogPosition.h"

#include <QWidget>
#include <algorithm>

#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"
#include "platform/window/HostPlacement.h"

namespace orvale {

namespace {

constexpr std::string_view kDialogSection = "CurrentVersion";

// The default place in twips.
QPoint DefaultDialogTopLeftTwips(const QWidget& dialog) {
  const QSize screen = ScreenSizeTwips();
  const QSize size = dialog.frameGeometry().size();
  const std::int32_t width = PixelsToTwips(size.width());
  const std::int32_t height = PixelsToTwips(size.height());
  return {std::clamp((screen.width() - width) / 2, 0, screen.width()),
          std::clamp((screen.height() / 2 - height) / 2, 0, screen.height())};
}

}  // namespace

bool RestoreWindowPosition(QWidget& window, QSize outer, std::string_view section, const StoredPosition& left,
                           const StoredPosition& top) {
  const auto read = [section](const StoredPosition& p) {
    return TwipsToPixels(GetSettingLong(section, p.Key, p.Minimum, p.Maximum, p.Default));
  };
  const auto stored = [section](const StoredPosition& p) {
    return !GetSettingString(section, p.Key, "").empty();
  };
  const QPoint wanted(read(left), read(top));
  const QPoint fallback(TwipsToPixels(left.Default), TwipsToPixels(top.Default));
  const QPoint place = VisibleTopLeft(wanted, outer, fallback);
  const bool storedPlace = (stored(left) || stored(top)) && place == wanted;
  // A place stored on a larger screen than this one comes back onto this one.
  window.move(storedPlace ? KeptOnScreen(place, outer, AvailableScreenPixels()) : place);
  return storedPlace;
}

void SaveWindowPosition(const QWidget& window, std::string_view section, std::string_view leftKey,
                        std::string_view topKey) {
  const QPoint place = window.pos();
  SaveSettingLong(section, leftKey, PixelsToTwips(place.x()));
  SaveSettingLong(section, topKey, PixelsToTwips(place.y()));
}

QPoint DefaultDialogTopLeft(const QWidget& dialog) {
  const QPoint twips = DefaultDialogTopLeftTwips(dialog);
  return {TwipsToPixels(twips.x()), TwipsToPixels(twips.y())};
}

void RestoreDialogPosition(QWidget& dialog, std::string_view leftKey, std::string_view topKey) {
  const QSize screen = ScreenSizeTwips();
  const QPoint place = DefaultDialogTopLeftTwips(dialog);
  RestoreWindowPosition(dialog, dialog.frameGeometry().size(), kDialogSection, {leftKey, 0, screen.width(), place.x()},
                        {topKey, 0, screen.height(), place.y()});
}

void SaveDialogPosition(const QWidget& dialog, std::string_view leftKey, std::string_view topKey) {
  SaveWindowPosition(dialog, kDialogSection, leftKey, topKey);
}

}  // namespace orvale
