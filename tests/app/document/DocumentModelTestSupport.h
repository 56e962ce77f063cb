#pragma once
// Fixtures of the document-model suites: settings with the program's defaults, a
// synthetic document whose fringe centres lie on the contours of a known wavefront,
// a recording main window and a save service with scripted results.
#include <cstdint>
#include <string>
#include <vector>

#include "app/analysis/ZernikeTerms.h"
#include "app/document/DocumentHost.h"
#include "app/document/DocumentSaveService.h"
#include "platform/registry/GeneralSettings.h"

namespace orvale {
class clsDocument;
}

namespace orvale::testing {

// The defaults of "CurrentVersion" that a new document copies.
GeneralSettings DefaultDocumentSettings();

// A circular pupil in image pixels.
struct Pupil {
  std::int32_t width = 200;
  std::int32_t height = 200;
  double cx = 100.0;
  double cy = 100.0;
  double radius = 80.0;
};

// A grey image of the pupil's size and a circular aperture on it.
void GiveImageAndAperture(clsDocument& doc, const Pupil& pupil);

// Fringe centres where the wavefront `known` (plus a constant) takes whole values,
// found along 90 rays through the pupil centre out to 0.97 of the radius; each
// contour becomes a fringe whose order is that value. Returns the number of points.
std::int32_t AddContourFringes(clsDocument& doc, const Pupil& pupil, const ZernikeVector& known);

// The main window as the table and the documents call it.
class RecordingHost : public DocumentHost {
 public:
  void SetStatusBar() override { ++statusBarRefreshes; }
  void SetMenuItems(bool ForceOff) override { menuCalls.push_back(ForceOff); }
  void SetToolBarItems(bool ForceOff) override { toolBarCalls.push_back(ForceOff); }
  void SaveWindowLayout() override { ++layoutSaves; }
  void RemoveFromDocumentLists(std::int32_t slot) override { removedSlots.push_back(slot); }
  void ShowCurrentGridData() override { ++gridDataRefreshes; }
  void SetBusyPointer(bool busy) override { busyCalls.push_back(busy); }

  int statusBarRefreshes = 0;
  std::vector<bool> menuCalls;
  std::vector<bool> toolBarCalls;
  int layoutSaves = 0;
  std::vector<std::int32_t> removedSlots;
  int gridDataRefreshes = 0;
  std::vector<bool> busyCalls;
};

// Records what the close prompt asked of the file commands and answers as scripted.
class FakeSaveService : public DocumentSaveService {
 public:
  bool SaveFile(const std::string& FileName, clsDocument& doc) override;
  bool SaveFileAs(clsDocument& doc, bool AsBitmap) override;

  bool result = true;
  std::vector<std::string> calls;  // "SaveFile <name>", "SaveFileAs document|bitmap"
};

}  // namespace orvale::testing
