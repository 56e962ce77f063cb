#pragma once
// Where the tool windows and the modal dialogs open: their places are stored in twips;
// a stored place that would leave the window off the available screen gives way to the
// window's default place, and one partly off it (a smaller screen than the one it was
// stored on) is moved onto it.
#include <cstdint>
#include <string_view>

class QPoint;
class QSize;
class QWidget;

namespace orvale {

// A stored window position: the key and the read's clamp and default, all in twips.
struct StoredPosition {
  std::string_view Key;
  std::int32_t Minimum = 0;
  std::int32_t Maximum = 0;
  std::int32_t Default = 0;
};

// Places `window`, whose outer size (its frame included) is `outer`, from its two
// stored positions (twips) in `section`; a place that would not be visible on the
// screen falls back to the defaults. A stored place is kept where the window lies
// wholly on the available screen, and else moved onto it (KeptOnScreen). True when the
// window took a stored place, false when it took the default.
bool RestoreWindowPosition(QWidget& window, QSize outer, std::string_view section, const StoredPosition& left,
                           const StoredPosition& top);

// Writes the window's top-left corner in twips under the two keys of `section`.
void SaveWindowPosition(const QWidget& window, std::string_view section, std::string_view leftKey,
                        std::string_view topKey);

// Where a modal dialog opens by default, in pixels: centred across the screen in its
// upper half, left (screen width - width) \ 2, top ((screen height \ 2) - height) \ 2,
// each clamped to the screen. Size the dialog first.
QPoint DefaultDialogTopLeft(const QWidget& dialog);

// A modal dialog's place from two keys of "CurrentVersion", each clamped to the screen,
// with DefaultDialogTopLeft as the default.
void RestoreDialogPosition(QWidget& dialog, std::string_view leftKey, std::string_view topKey);
// Writes the dialog's place back under the two keys of "CurrentVersion".
void SaveDialogPosition(const QWidget& dialog, std::string_view leftKey, std::string_view topKey);

}  // namespace orvale
