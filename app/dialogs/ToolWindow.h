#pragma once
// The long-lived tool windows (toolbox, analysis options, grid analysis, averaging,
// reference Zernikes, math): one instance each, created at start-up, owned by the main
// window and shown by their View-menu item. Closing one from its title bar only hides
// it, unchecks its item and updates the toolbar; only the program's end (a quit
// request, the session ending) closes it for good.
#include <QWidget>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs/DialogPosition.h"
#include "app/document/MainFrame.h"

class QCloseEvent;

namespace orvale {

class ToolWindow : public QWidget {
 public:
  // `owner` is the main window (may be null in tests).
  ToolWindow(MainFrame& frame, ViewMenuItem item, const QString& title, QWidget* owner);

  MainFrame& Frame() const { return *frame_; }
  ViewMenuItem Item() const { return item_; }

  // Shows the window, checks its View item and updates the toolbar. Whatever its place,
  // it shows off the main window's bars as the main window is now (maximised or moved
  // since the place was read); where it first shows at its default place, also off the
  // other tool windows showing.
  void ShowFromView();
  // Moves the window off the main window's title bar, menu bar and toolbar, and off the
  // other tool windows showing, when it covers some of those bars; a window clear of
  // them stays where it is.
  void KeepOffOwnerBars();
  // Every hide of the window: hides it, unchecks its View item and updates the toolbar;
  // nothing when the window is not ready to hide, which then tells the user why.
  void HideFromView();

  // Places the window from its two stored positions (twips) in `section`; without a
  // stored place, or with one that would not be visible on the screen, at the default
  // (clamped as the stored place is), kept off the main window's title bar, menu bar
  // and toolbar. A stored place is kept where the whole window is on the available
  // screen, and else moved onto it.
  void RestorePosition(std::string_view section, const StoredPosition& left,
                       const StoredPosition& top);
  // The same with the usual clamp of the tool windows: each coordinate from 0 up to the
  // screen size less half the window's size, all in twips.
  void RestorePositionOnScreen(std::string_view section, std::string_view leftKey,
                               std::string_view topKey, std::int32_t defaultLeft,
                               std::int32_t defaultTop);
  // The default top-left corner (twips) beside the main window's right edge, `below`
  // twips under its top, both of its outer rectangle; kept on the available screen,
  // since the main window may fill the screen.
  QPoint DefaultPlaceBesideOwner(std::int32_t below) const;
  // The window's size with the frame the window manager puts round it; until it has a
  // frame of its own, with the main window's.
  QSize OuterSize() const;
  // Whether the window stands at its default place, not at a stored one.
  bool AtDefaultPlace() const { return atDefaultPlace_; }
  // Writes the current top-left corner in twips under the two keys.
  void SavePosition(std::string_view section, std::string_view leftKey,
                    std::string_view topKey) const;

 protected:
  // A close request from the user hides the window (it is never destroyed here). One
  // that is part of the program's end is let through and keeps the View item's check,
  // so that the window shows again at the next start.
  void closeEvent(QCloseEvent* event) override;
  // Whether the window may hide now; a window with an edit still to check says no.
  virtual bool ReadyToHide() { return true; }

 private:
  // `wanted` (pixels), or where the window covers none of the owner's bars nor any of
  // `others`.
  QPoint ClearOfOwnerBars(QPoint wanted, std::span<const QRect> others = {}) const;
  // The outer rectangles of the owner's other tool windows now showing, but for those
  // over its bars.
  std::vector<QRect> OtherToolWindowPlaces() const;

  MainFrame* frame_;
  ViewMenuItem item_;
  bool atDefaultPlace_ = true;  // no stored place was taken
  bool shownBefore_ = false;
};

}  // namespace orvale
