#pragma once
// One window of a document (the image view or an output view) as the document's view
// rules drive it. It only does what it is told; which window shows, hides, loads or
// moves when is decided by DocumentViews. Geometry is in pixels relative to the main
// window's client area.
//
// A window object exists before it is loaded: it is made with its document's views and
// keeps a placement and a caption set before the load, which the load applies.
// Destroying the object unloads the window.
#include <cstdint>
#include <string>

#include "platform/registry/ResultWindowLayout.h"

namespace orvale {

// The state of a document window in the main window's area.
enum class WindowShowState { Normal, Minimized, Maximized };

class DocumentWindow {
 public:
  virtual ~DocumentWindow() = default;

  // Creates the window hidden at `placement`. A width or height below 1 leaves the size
  // (and then also the place) to the window system. Loading twice does nothing.
  virtual void Load(const WindowPlacement& placement) = 0;
  virtual bool IsLoaded() const = 0;

  // Shows the window; `activate` makes it the active window (which also brings it to
  // the top), else the active window stays active and `raise` alone brings it up.
  virtual void Show(bool activate, bool raise) = 0;
  virtual void Hide() = 0;
  virtual bool IsShown() const = 0;

  // Outer geometry; before the load the placement the load will apply.
  virtual WindowPlacement Placement() const = 0;
  // Moves and sizes the window without activating it or changing its place in the order.
  virtual void SetPlacement(const WindowPlacement& placement) = 0;
  // Moves the top-left corner; the size stays.
  virtual void Move(std::int32_t left, std::int32_t top) = 0;
  virtual WindowShowState State() const = 0;
  // Takes a minimised or maximised window back to its normal state.
  virtual void ShowNormal() = 0;

  // Brings a shown window to the top; `activate` also makes it the active window. A
  // hidden window stays hidden.
  virtual void BringToTop(bool activate) = 0;
  // Redraws the window's contents from what it holds.
  virtual void Repaint() = 0;

  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
};

}  // namespace orvale
