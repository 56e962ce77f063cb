#include "tests/app/imageview/ImageViewTestSupport.h"

#include <stdexcept>

#include "tests/app/document/DocumentModelTestSupport.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/runtime/NumberText.h"

namespace orvale::testing {

namespace {

clsDocument* NewDocument(DocumentTable& table) {
  clsDocument* doc = nullptr;
  if (!table.NewDocument(doc)) throw std::runtime_error("no document");
  return doc;
}

}  // namespace

GeneralSettings ViewTestSettings() {
  GeneralSettings s = DefaultDocumentSettings();
  s.AutoStretch = false;
  s.RedDisplay = false;
  return s;
}

void ViewTestFrame::StoreWindowLayout(clsDocument& doc) {
  RecordingMainFrame::StoreWindowLayout(doc);
  if (doc.Table() != nullptr) doc.Table()->ActiveDocIndex = doc.ovDocIndex;
}

void FakeToolbox::SelectOrder(std::int32_t newOrder) {
  calls.push_back("SelectOrder " + std::to_string(newOrder));
  if (newOrder < 1 || newOrder > 200) return;
  if (editor != nullptr) editor->SaveFringe(order);
  order = newOrder;
  if (editor != nullptr) editor->PaintImage();
}

void FakeToolbox::SetControls(bool state, bool ApertureOn, bool ObstructionOn) {
  calls.push_back("SetControls " + std::to_string(state) + " " + std::to_string(ApertureOn) +
                  " " + std::to_string(ObstructionOn));
}

std::vector<std::uint8_t> PatternImage(std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x)
      data[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x)] = static_cast<std::uint8_t>((x * 7 + y * 13) & 255);
  return data;
}

ViewFixture::ViewFixture(std::int32_t imageWidth, std::int32_t imageHeight,
                         std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t zoom)
    : settings(ViewTestSettings()),
      table(settings, &frame),
      doc(NewDocument(table)),
      display(settings, frame),
      editor(*doc, display, frame, &toolbox, port) {
  toolbox.editor = &editor;
  doc->SetImageData(PatternImage(imageWidth, imageHeight), imageWidth, imageHeight);
  doc->ImageViewExist = true;
  doc->ActiveView = viewtype::kImage;
  table.ActiveDocIndex = doc->ovDocIndex;
  display.Geometry.ZoomFactor = zoom;
  display.RefreshBitmapFromData(doc->ImageData(), imageWidth, imageHeight);
  display.ImageReady = true;
  display.ResizeWindow(clientWidth, clientHeight);
  editor.PaintImage();
  frame.ClearLog();
}

ViewFixture::~ViewFixture() = default;

QImage ViewFixture::Backing() const {
  const gdi::ImageDeviceContext* backing = display.Backing();
  return backing != nullptr ? backing->Image().copy() : QImage();
}

bool ViewFixture::ShowsFreshPaint() {
  const QImage shown = Backing();
  editor.PaintImage();
  return shown == Backing();
}

std::int32_t ViewFixture::ScreenX(double x) const {
  return RoundToInt32((x - display.Geometry.OriginX) * display.Geometry.ScaleFactor);
}

std::int32_t ViewFixture::ScreenY(double y) const {
  return RoundToInt32((y - display.Geometry.OriginY) * display.Geometry.ScaleFactor);
}

}  // namespace orvale::testing
