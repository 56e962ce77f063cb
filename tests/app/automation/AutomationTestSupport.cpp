#include "AutomationTestSupport.h"

#include "app/document/BitmapFile.h"
#include "app/document/StoreWindowLayout.h"
#include "platform/com/AutomationError.h"
#include "platform/ui/MessageService.h"

namespace orvale::testing {

void ActivatingFrame::StoreWindowLayout(clsDocument& doc) {
  RecordingMainFrame::StoreWindowLayout(doc);
  if (!refuses && doc.Table() != nullptr) orvale::StoreWindowLayout(*doc.Table(), doc);
}

RaisedError ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return {e.Code(), e.Source(), e.Description()};
  }
  return {};
}

std::string AutomationTest::Bitmap(const std::string& name, std::int32_t width,
                                   std::int32_t height) const {
  std::vector<std::uint8_t> ramp(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::uint8_t>(i % 251);
  EXPECT_TRUE(SaveDataBufferToBMP(Path(name), ramp, width, height, false));
  return Path(name).string();
}

std::string AutomationTest::InterferogramFile(const std::string& name, const ZernikeVector& waves,
                                              std::int32_t size) const {
  const double centre = (size - 1) / 2.0;
  const auto image =
      analysis_test::Interferogram(size, size, centre, centre, 0.47 * size, waves);
  EXPECT_TRUE(SaveDataBufferToBMP(Path(name), image, size, size, false));
  return Path(name).string();
}

AutoValue AutomationTest::CircleThrough(double cx, double cy, double radius) {
  return Numbers({cx - radius, cy, cx + radius, cy, cx, cy - radius, cx, cy + radius});
}

clsDocument& AutomationTest::AnalysableDocument(const ZernikeVector& waves) {
  EXPECT_TRUE(object_.Load(Bitmap("pupil.bmp", pupil_.width, pupil_.height)));
  EXPECT_TRUE(object_.SetAperture(Text("CIRCLE"), CircleThrough(pupil_.cx, pupil_.cy, pupil_.radius)));
  clsDocument& doc = Doc();
  AddContourFringes(doc, pupil_, waves);
  return doc;
}

clsDocument& AutomationTest::Doc() {
  clsDocument* doc = object_.Document();
  EXPECT_NE(doc, nullptr);
  return *doc;
}

bool AutomationTest::FakeGrab(clsDocument& doc) {
  ++grabs_;
  if (!grabSucceeds_) {
    ShowMessage("Frame grabber not ready [7]", mb::kOk, "Error");
    return false;
  }
  return doc.SetImageData(std::vector<std::uint8_t>(12, 200), 4, 3);
}

}  // namespace orvale::testing
