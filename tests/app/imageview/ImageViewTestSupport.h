#pragma once
// Fixtures of the image-view suites: a main window that makes a document active as the
// real one does, a recording window port and toolbox, and a document on an open-document
// table shown in a display with its editing controller.
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "app/imageview/FringeToolbox.h"
#include "app/imageview/ImageEditController.h"
#include "app/plots/ImageViewDisplay.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/ui/MessageService.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale::testing {

// The program-wide settings of the view suites: grey byte v shows as rgb(v, v, v).
GeneralSettings ViewTestSettings();

// Records like RecordingMainFrame; storing a document's layout makes it the active one.
class ViewTestFrame : public RecordingMainFrame {
 public:
  void StoreWindowLayout(clsDocument& doc) override;
};

class RecordingPort : public ImageViewPort {
 public:
  void ShowBacking() override { ++shows; }
  void SetCursorKey(std::string_view key) override { cursorKeys.emplace_back(key); }
  void ScrollBarsChanged() override { ++barChanges; }
  PointL ScreenPosition(std::int32_t x, std::int32_t y) const override {
    return {x + 1000, y + 2000};
  }

  int shows = 0;
  int barChanges = 0;
  std::vector<std::string> cursorKeys;
};

// A toolbox that keeps the order and records its calls. Like the real one, a change of
// order first records the clicked points under the old order (when given the editor).
class FakeToolbox : public FringeToolbox {
 public:
  std::int32_t CurrentOrder() const override { return order; }
  void SelectOrder(std::int32_t newOrder) override;
  std::int32_t ApertureTypeIndex() const override { return apertureIndex; }
  std::int32_t ObstructionTypeIndex() const override { return obstructionIndex; }
  void SetControls(bool state, bool ApertureOn, bool ObstructionOn) override;
  void AddAperture() override { calls.push_back("AddAperture"); }
  void ClearAperture() override { calls.push_back("ClearAperture"); }
  void AddObstruction() override { calls.push_back("AddObstruction"); }
  void ClearObstruction() override { calls.push_back("ClearObstruction"); }
  void InsertFringe() override { calls.push_back("InsertFringe"); }
  void RemoveFringe() override { calls.push_back("RemoveFringe"); }
  void RenumberFringe() override { calls.push_back("RenumberFringe"); }
  bool LoadAperture(clsDocument&) override { return false; }
  bool LoadObstruction(clsDocument&) override { return false; }

  std::int32_t order = 1;
  std::int32_t apertureIndex = 0;
  std::int32_t obstructionIndex = 0;
  ImageEditController* editor = nullptr;
  std::vector<std::string> calls;  // "SelectOrder 5", "SetControls 1 1 1", ...
};

// A grey pattern image: byte (x * 7 + y * 13) mod 256.
std::vector<std::uint8_t> PatternImage(std::int32_t width, std::int32_t height);

// An active document with a pattern image on an open-document table, shown in a
// picture area of the given size at the given zoom. Messages are scripted.
class ViewFixture {
 public:
  ViewFixture(std::int32_t imageWidth, std::int32_t imageHeight, std::int32_t clientWidth,
              std::int32_t clientHeight, std::int32_t zoom = 100);
  ~ViewFixture();

  // The picture area as the screen shows it.
  QImage Backing() const;
  // Whether the picture area shows what a fresh paint would (paints to find out).
  bool ShowsFreshPaint();
  // The image point a picture-area pixel maps to is (x, y): the pixel's screen place.
  std::int32_t ScreenX(double x) const;
  std::int32_t ScreenY(double y) const;

  ScriptedMessageService messages;
  ScopedMessageService scopedMessages{messages};
  GeneralSettings settings;
  ViewTestFrame frame;
  DocumentTable table;
  clsDocument* doc = nullptr;
  FakeToolbox toolbox;
  RecordingPort port;
  ImageViewDisplay display;
  ImageEditController editor;
};

}  // namespace orvale::testing
