#pragma once
// What a document and the open-document table need of the main window and the
// long-lived dialogs. The program installs its main window's implementation; the base
// class does nothing, so documents run headless in tests and tools.
#include <cstdint>
#include <memory>

#include "app/document/ImageWindowSize.h"

namespace orvale {

class clsDocument;
class DocumentViews;

class DocumentHost {
 public:
  virtual ~DocumentHost() = default;

  // The window set of a new document: the headless DocumentViews unless overridden.
  virtual std::unique_ptr<DocumentViews> CreateDocumentViews(clsDocument& doc);

  // Main window: busy pointer while long work runs, and the refresh when the last
  // document closed.
  virtual void SetBusyPointer(bool /*busy*/) {}
  virtual void SetStatusBar() {}
  virtual void SetMenuItems(bool /*ForceOff*/) {}
  virtual void SetToolBarItems(bool /*ForceOff*/) {}
  // Writes the program-wide result-window layout to the settings at once.
  virtual void SaveWindowLayout() {}
  // Scroll bar, frame and caption sizes that an image window adds to its image.
  virtual WindowFrameMetrics FrameMetrics() const { return {}; }
  // Whether new image views start in edit mode (toolbar button state).
  virtual bool ImageViewStartsInEditMode() const { return true; }

  // Averaging and combining dialogs: enter or remove a document (its slot number).
  virtual void AddToDocumentLists(const clsDocument& /*doc*/) {}
  virtual void RemoveFromDocumentLists(std::int32_t /*slot*/) {}
  // Grid-analysis dialog: refresh its fields from the active document or the defaults.
  virtual void ShowCurrentGridData() {}

  // Toolbox: the stored aperture or obstruction into the document; True when one was
  // stored.
  virtual bool LoadAperture(clsDocument& /*doc*/) { return false; }
  virtual bool LoadObstruction(clsDocument& /*doc*/) { return false; }
};

// The host used when none was given.
DocumentHost& HeadlessDocumentHost();

// The main window's hourglass while a piece of work runs, back to normal however the
// work ends.
class BusyPointer {
 public:
  explicit BusyPointer(DocumentHost& host) : host_(host) { host_.SetBusyPointer(true); }
  ~BusyPointer() { host_.SetBusyPointer(false); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  DocumentHost& host_;
};

}  // namespace orvale
