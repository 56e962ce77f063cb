#pragma once
// Fixture of the automation suites: one OrvaleDoc over a headless document table, a
// main window that makes documents active as the real one does, the analysis options
// in a plain model, a grabber state with a grab that can be made to fail, scripted
// messages and dialogs, settings in memory and a scratch folder for the files a script
// loads and saves.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../document/DocumentModelTestSupport.h"
#include "../document/DocumentTestSupport.h"
#include "app/automation/OrvaleDoc.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/com/GrabberState.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/SettingsStore.h"
#include "platform/ui/FileDialogService.h"
#include "tests/app/analysis/TraceTestSupport.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale::testing {

// Storing the layout of a document makes it the active one, as in the main window; a
// frame that `refuses` leaves the active document as it was.
class ActivatingFrame : public RecordingMainFrame {
 public:
  void StoreWindowLayout(clsDocument& doc) override;
  bool refuses = false;
};

// Arguments of each kind, as a client would pass them.
inline AutoValue Missing() { return AutoValue(); }
inline AutoValue Flag(bool value) { return AutoValue(std::in_place_type<bool>, value); }
inline AutoValue Whole(std::int64_t value) { return AutoValue(std::in_place_type<std::int64_t>, value); }
inline AutoValue Real(double value) { return AutoValue(std::in_place_type<double>, value); }
inline AutoValue Text(std::string value) {
  return AutoValue(std::in_place_type<std::string>, std::move(value));
}
inline AutoValue Numbers(std::vector<double> values, bool allNumbers = true) {
  return AutoValue(std::in_place_type<NumberList>, NumberList{std::move(values), allNumbers});
}
inline AutoValue Other() { return AutoValue(std::in_place_type<OtherValue>); }

// What an automation member raised.
struct RaisedError {
  std::uint32_t code = 0;  // 0: nothing was raised
  std::string source;
  std::string text;
};
RaisedError ErrorOf(const std::function<void()>& call);

class AutomationTest : public ScratchFolderTest {
 protected:
  // A grey-ramp bitmap in the scratch folder; its full path.
  std::string Bitmap(const std::string& name, std::int32_t width = 40, std::int32_t height = 30) const;
  // An interferogram of `waves` over a centred pupil of 0.47 times the size, as a
  // bitmap; its full path.
  std::string InterferogramFile(const std::string& name, const ZernikeVector& waves,
                                std::int32_t size = 256) const;
  // The circle through the four extreme points of a pupil, as a script passes it.
  static AutoValue CircleThrough(double cx, double cy, double radius);
  // Loads a 200 x 200 bitmap, sets the pupil's circle as the aperture and adds fringe
  // centres on the contours of `waves`; the document.
  clsDocument& AnalysableDocument(const ZernikeVector& waves = analysis_test::TracedWavefront(1.0));
  // The document the object wraps (fails the test when there is none).
  clsDocument& Doc();

  MemorySettingsStore store_;
  ScopedSettingsStore installedStore_{store_};
  ScriptedFileDialogService dialogs_;
  ScopedFileDialogService installedDialogs_{dialogs_};
  GeneralSettings settings_ = DefaultDocumentSettings();
  ActivatingFrame frame_;
  DocumentTable table_{settings_, &frame_};
  GrabberState grabber_;
  std::int32_t imageCounter_ = 0;
  // The grab: a 4 x 3 frame of 200, or a failure with its message.
  bool grabSucceeds_ = true;
  int grabs_ = 0;
  ModelAnalysisOptions options_{table_, frame_};
  AutomationContext context_{table_, frame_, grabber_, imageCounter_,
                             [this](clsDocument& doc) { return FakeGrab(doc); }, options_};
  OrvaleDoc object_{context_};
  Pupil pupil_;

 private:
  bool FakeGrab(clsDocument& doc);
};

}  // namespace orvale::testing
