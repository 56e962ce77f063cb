// A frame from the grabber plug-in into a document: readiness, the frame forms taken,
// frames that do not match their size, plug-in failures, memory running out, and the
// grab aspect ratio. A failed grab leaves the document as it was.
#include <gtest/gtest.h>

#include "app/document/DocumentTable.h"
#include "app/document/GrabCommand.h"
#include "app/document/ImageWindowSize.h"
#include "app/document/clsDocument.h"
#include "platform/ui/AllocationReport.h"
#include "platform/ui/MessageService.h"
#include "tests/app/document/DocumentModelTestSupport.h"
#include "tests/support/FakeGrabberPlugin.h"

namespace orvale {
namespace {

using testing::FakeGrabberPlugin;

constexpr WindowFrameMetrics kMetrics{17, 16, 4, 3, 23};

class FramedHost : public testing::RecordingHost {
 public:
  WindowFrameMetrics FrameMetrics() const override { return kMetrics; }
};

// Releases the fake when the test ends.
struct FakeDeleter {
  void operator()(FakeGrabberPlugin* plugin) const { plugin->Release(); }
};

class DocumentGrabTest : public ::testing::Test {
 protected:
  DocumentGrabTest() {
    // The user's document: a 5 x 3 picture with a fringe, saved as it is.
    EXPECT_TRUE(doc_.SetImageData(std::vector<std::uint8_t>(15, 42), 5, 3));
    doc_.Fringes.AddOrder(1);
    doc_.InitWindowWidth = 1234;
    doc_.InitWindowHeight = 567;
  }

  bool Grab() { return doc_.GrabIntoDataBuffer(grabber_.get(), failure_); }

  void ExpectUnchanged() const {
    std::int32_t width = 0, height = 0;
    doc_.GetImageSize(width, height);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 3);
    EXPECT_EQ(std::vector<std::uint8_t>(doc_.ImageData().begin(), doc_.ImageData().end()),
              std::vector<std::uint8_t>(15, 42));
    EXPECT_FALSE(doc_.BMPDirty);
    EXPECT_EQ(doc_.InitWindowWidth, 1234);
    EXPECT_EQ(doc_.InitWindowHeight, 567);
    EXPECT_EQ(doc_.Fringes.NumFringes(), 1);
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& shown : messages_.Messages()) texts.push_back(shown.text);
    return texts;
  }

  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  GeneralSettings settings_ = testing::DefaultDocumentSettings();
  FramedHost host_;
  clsDocument doc_{settings_, &host_};
  std::unique_ptr<FakeGrabberPlugin, FakeDeleter> grabber_{new FakeGrabberPlugin};
  PluginStatus failure_;
};

TEST_F(DocumentGrabTest, AGrabberWithoutASizeIsNotReadyAndSaysWhichSizeIsMissing) {
  struct Case {
    std::int32_t width, height;
    std::optional<std::int32_t> buffer;
    int code;
  };
  const Case cases[] = {
      {0, 480, std::nullopt, 1}, {640, 0, std::nullopt, 2}, {640, 480, 0, 4},
      {0, 480, 0, 5},            {0, 0, 0, 7},              {-1, 480, std::nullopt, 1},
      {640, -480, -5, 6},        {-2147483647 - 1, 1, 1, 1},
  };
  for (const Case& c : cases) {
    messages_.Clear();
    grabber_->Width = c.width;
    grabber_->Height = c.height;
    grabber_->BufferBytes = c.buffer;
    EXPECT_FALSE(Grab());
    ASSERT_EQ(messages_.Messages().size(), 1u);
    const auto& shown = messages_.Messages()[0];
    EXPECT_EQ(shown.text, "Frame grabber not ready [" + std::to_string(c.code) + "]");
    EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(shown.flags, mb::kOk);
    EXPECT_EQ(shown.owner, kMainWindowOwner);
    EXPECT_FALSE(failure_.Failed());
    ExpectUnchanged();
  }
  EXPECT_EQ(grabber_->Log()->GrabFrame, 0);

  messages_.Clear();
  EXPECT_FALSE(doc_.GrabIntoDataBuffer(nullptr, failure_));  // no grabber selected
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Frame grabber not ready [7]"});
}

TEST_F(DocumentGrabTest, TheGrabAspectRatioStretchesTheFrameButNotTheFirstWindowSize) {
  struct Case {
    double ratio;
    std::int32_t width, height;
    bool dirty;
  };
  const WindowSize grabbed = InitialImageWindowSize(640, 480, kMetrics);
  for (const Case& c : {Case{1.0, 640, 480, false}, Case{1.25, 800, 480, true},
                        Case{0.8, 640, 600, true}, Case{0.0, 640, 480, false}}) {
    settings_.GrabAspectRatio = c.ratio;
    doc_.BMPDirty = false;
    grabber_->Width = 640;
    grabber_->Height = 480;
    ASSERT_TRUE(Grab()) << c.ratio;
    std::int32_t width = 0, height = 0;
    doc_.GetImageSize(width, height);
    EXPECT_EQ(width, c.width) << c.ratio;
    EXPECT_EQ(height, c.height) << c.ratio;
    EXPECT_EQ(doc_.BMPDirty, c.dirty) << c.ratio;
    EXPECT_EQ(doc_.InitWindowWidth, grabbed.Width) << c.ratio;
    EXPECT_EQ(doc_.InitWindowHeight, grabbed.Height) << c.ratio;
    EXPECT_EQ(doc_.GetIntensity(width - 1, height - 1), 128);
    EXPECT_FALSE(doc_.BlankImage);
  }
  EXPECT_TRUE(messages_.Messages().empty());
  EXPECT_EQ(doc_.Fringes.NumFringes(), 1);  // the user's marks stay
}

TEST_F(DocumentGrabTest, EightAndTwentyFourBitFramesBecomeTheImageTopRowFirst) {
  // 24 bits: a row of three grey pixels, padded to 12 bytes.
  grabber_->BitCount = 24;
  grabber_->Width = 3;
  grabber_->Height = 1;
  grabber_->Rows = {3, 3, 3, 6, 6, 6, 9, 9, 9, 0xEE, 0xEE, 0xEE};
  ASSERT_TRUE(Grab());
  EXPECT_EQ(std::vector<std::uint8_t>(doc_.ImageData().begin(), doc_.ImageData().end()),
            (std::vector<std::uint8_t>{3, 6, 9}));

  // 8 bits, 641 wide: rows of 644 bytes, the bottom one first, noise in the palette area.
  grabber_->BitCount = 8;
  grabber_->Width = 641;
  grabber_->Height = 2;
  grabber_->PaletteGarbage = true;
  grabber_->Rows.assign(2 * 644, 0xEE);
  for (std::size_t x = 0; x < 641; ++x) {
    grabber_->Rows[x] = static_cast<std::uint8_t>(x % 200);          // bottom row
    grabber_->Rows[644 + x] = static_cast<std::uint8_t>(x % 200 + 50);  // top row
  }
  ASSERT_TRUE(Grab());
  EXPECT_EQ(doc_.GetIntensity(640, 1), 640 % 200);
  EXPECT_EQ(doc_.GetIntensity(640, 0), 640 % 200 + 50);
  EXPECT_EQ(doc_.ImageData().size(), 641u * 2);
}

TEST_F(DocumentGrabTest, FramesThatCannotBeTakenLeaveTheDocumentAsItWas) {
  struct Case {
    const char* name;
    void (*setup)(FakeGrabberPlugin&);
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"16 bits", [](FakeGrabberPlugin& p) { p.BitCount = 16; }, {"Cannot convert DIB, unsupported format"}},
      {"no frame", [](FakeGrabberPlugin& p) { p.GrabOk = false; }, {}},
      {"header of another size",
       [](FakeGrabberPlugin& p) {
         p.Width = 3;
         p.Height = 4;
         p.HeaderWidth = 2;
         p.HeaderHeight = 6;
       },
       {"Cannot convert DIB, the frame does not match its header"}},
      {"rows one byte short",
       [](FakeGrabberPlugin& p) {
         p.Width = 641;
         p.Height = 3;
         p.BufferBytes = 1064 + 644 * 3 - 1;
       },
       {"Cannot convert DIB, the frame does not match its header"}},
      {"more pixels than the buffer holds",
       [](FakeGrabberPlugin& p) {
         p.Width = 100000;
         p.Height = 100000;
         p.BufferBytes = 5000;
       },
       {"Cannot convert DIB, the frame does not match its header"}},
  };
  for (const Case& c : cases) {
    grabber_.reset(new FakeGrabberPlugin);
    messages_.Clear();
    c.setup(*grabber_);
    EXPECT_FALSE(Grab()) << c.name;
    EXPECT_EQ(MessageTexts(), c.messages) << c.name;
    EXPECT_FALSE(failure_.Failed()) << c.name;
    ExpectUnchanged();
  }
}

TEST_F(DocumentGrabTest, AHeaderUpsideDownIsStillTheGrabbedSize) {
  grabber_->Width = 2;
  grabber_->Height = 2;
  grabber_->HeaderHeight = -2;  // rows from the top
  grabber_->Rows = {1, 2, 0, 0, 3, 4, 0, 0};
  ASSERT_TRUE(Grab());
  EXPECT_EQ(doc_.GetIntensity(0, 0), 1);
  EXPECT_EQ(doc_.GetIntensity(1, 1), 4);
}

TEST_F(DocumentGrabTest, APlugInFailureEndsTheGrabSilentlyWithItsStatus) {
  using Member = PluginStatus FakeGrabberPlugin::*;
  for (const Member member : {&FakeGrabberPlugin::XSizeStatus, &FakeGrabberPlugin::YSizeStatus,
                              &FakeGrabberPlugin::BufferSizeStatus, &FakeGrabberPlugin::GrabFrameStatus}) {
    grabber_.reset(new FakeGrabberPlugin);
    (*grabber_).*member = PluginStatus::Fail("Tavrel has not been initialized.");
    EXPECT_FALSE(Grab());
    EXPECT_TRUE(failure_.Failed());
    EXPECT_EQ(failure_.Description, "Tavrel has not been initialized.");
    EXPECT_TRUE(messages_.Messages().empty());
    ExpectUnchanged();
  }
}

TEST_F(DocumentGrabTest, MemoryRunningOutIsReportedAndOnlyAStretchMayGoWithout) {
  for (int allowed : {0, 1}) {  // the image, then the frame
    messages_.Clear();
    ScopedAllocationFailure noMemory(allowed);
    EXPECT_FALSE(Grab()) << allowed;
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Out of memory"}) << allowed;
    EXPECT_EQ(messages_.Messages()[0].title, "Error");
    EXPECT_EQ(grabber_->Log()->GrabFrame, 0);
    ExpectUnchanged();
  }

  // The stretch cannot have its memory: the frame stays as grabbed.
  messages_.Clear();
  settings_.GrabAspectRatio = 1.25;
  grabber_->Width = 64;
  grabber_->Height = 48;
  ScopedAllocationFailure noStretch(2);
  EXPECT_TRUE(Grab());
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Out of memory"});
  std::int32_t width = 0, height = 0;
  doc_.GetImageSize(width, height);
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
}

TEST_F(DocumentGrabTest, ANewDocumentIsStretchedBeforeItHasAnImageView) {
  testing::RecordingHost host;
  DocumentTable table(settings_, &host);
  settings_.GrabAspectRatio = 1.25;
  grabber_->Width = 40;
  grabber_->Height = 30;
  std::int32_t counter = 0;
  clsDocument* doc = GrabImage(table, counter, true, [this](clsDocument& d) {
    return d.GrabIntoDataBuffer(grabber_.get(), failure_);
  });
  ASSERT_NE(doc, nullptr);
  std::int32_t width = 0, height = 0;
  doc->GetImageSize(width, height);
  EXPECT_EQ(width, 50);
  EXPECT_EQ(height, 30);
  EXPECT_TRUE(doc->ImageViewExist);
  EXPECT_EQ(doc->ImageFileName, "Image1");
}

}  // namespace
}  // namespace orvale
