#include "tests/app/frame/FrameTestSupport.h"

#include <QImage>

#include "app/document/clsDocument.h"
#include "platform/registry/IniFormat.h"
#include "platform/registry/TypedSettings.h"

namespace orvale::testing {

FrameTest::FrameTest() : app_(std::make_unique<AppState>()) {
  app_->Settings = ReadGeneralSettings({1024, 768, 4, 18});
  CreateMainWindows(*app_);
  Frame().Load();
}

FrameTest::~FrameTest() {
  // Documents first, without prompts, then the windows.
  for (std::int32_t slot = 1; slot <= DocumentTable::kMaxDocuments; ++slot) {
    clsDocument* doc = Table().Documents[static_cast<std::size_t>(slot)].get();
    std::int16_t cancel = 0;
    if (doc != nullptr) Table().CloseDocument(doc, true, cancel);
  }
  app_.reset();
}

clsDocument& FrameTest::AddDocument(std::int32_t width, std::int32_t height) {
  clsDocument* doc = nullptr;
  EXPECT_TRUE(Table().NewDocument(doc));
  doc->SetViews(std::make_unique<LoggingViews>());
  doc->SetImageData(std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), 100), width,
                    height);
  doc->CreateView(1);
  ViewsOf(*doc).log.clear();  // making the image view sets its starting tool
  doc->ActiveView = viewtype::kImage;
  Table().ActiveDocIndex = doc->ovDocIndex;
  Refresh();
  return *doc;
}

void FrameTest::Refresh() const {
  Frame().SetMenuItems(false);
  Frame().SetToolBarItems(false);
  Frame().UpdateToolBar();
}

LoggingViews& FrameTest::ViewsOf(clsDocument& doc) const {
  return dynamic_cast<LoggingViews&>(doc.Views());
}

QAction* FrameTest::Item(const char* name) const {
  QAction* action = Frame().Action(name);
  EXPECT_NE(action, nullptr) << name;
  return action;
}

std::string FrameTest::WriteBitmap(const std::string& name) const {
  QImage image(8, 6, QImage::Format_Grayscale8);
  image.fill(90);
  const QString path = folder_.filePath(QString::fromStdString(name));
  EXPECT_TRUE(image.save(path, "BMP"));
  return path.toStdString();
}

std::string FrameTest::Setting(const std::string& key) const {
  return GetSettingString("CurrentVersion", key, "<missing>");
}

std::shared_ptr<FakeGrabberLog> FrameTest::InstallPlugin(bool ready, bool setupDlg) {
  auto* plugin = new FakeGrabberPlugin;
  plugin->SetupDlg = setupDlg;
  GrabberState& grabber = app_->Grabber;
  grabber.Grabber.reset(plugin);
  grabber.GrabberCreated = true;
  grabber.GrabberReady = ready;
  grabber.GrabberName = "Fake";
  grabber.GrabberIndex = 1;
  return plugin->Log();
}

std::string FrameTest::StoreText() const { return FormatIniSettings(store_.Contents()); }

}  // namespace orvale::testing
