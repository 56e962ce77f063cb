#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "DocumentModelTestSupport.h"
#include "app/document/ActivateDocument.h"
#include "app/document/DocumentTable.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/RecordingDocumentWindow.h"
#include "app/document/clsDocument.h"
#include "platform/ui/MessageService.h"
#include "tests/support/RecordingMainFrame.h"

namespace orvale::testing {
namespace {

using Lines = std::vector<std::string>;

class ViewsHost : public RecordingMainFrame {
 public:
  WindowFrameMetrics FrameMetrics() const override { return {17, 17, 4, 4, 19}; }
  void AddToDocumentLists(const clsDocument& doc) override { listed.push_back(doc.ovDocIndex); }
  std::vector<std::int32_t> listed;
};

// Windows that fail when the view of one code is made, by a null window or an error.
class FailingViews : public DocumentViews {
 public:
  std::int32_t failAt = 0;
  bool throws = false;

 protected:
  std::unique_ptr<DocumentWindow> MakeWindow(clsDocument& doc, std::int32_t formType) override {
    if (formType == failAt) {
      if (throws) throw std::runtime_error("Out of window handles");
      return nullptr;
    }
    return DocumentViews::MakeWindow(doc, formType);
  }
};

// Windows that log into a record that outlives the document.
class OutlivedViews : public DocumentViews {
 public:
  explicit OutlivedViews(WindowCallLog& log) : log_(log) {}

 protected:
  std::unique_ptr<DocumentWindow> MakeWindow(clsDocument& /*doc*/, std::int32_t formType) override {
    return std::make_unique<RecordingDocumentWindow>(formType, log_);
  }

 private:
  WindowCallLog& log_;
};

WindowPlacement LayoutEntry(std::size_t i) {
  const auto n = static_cast<std::int32_t>(i);
  return {10 * n, 20 * n, 100 + n, 200 + n};
}

class DocumentViewsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::size_t i = 0; i < settings_.ResultWindowLayout.size(); ++i)
      settings_.ResultWindowLayout[i] = LayoutEntry(i);
    ASSERT_TRUE(table_.NewDocument(doc_));
  }

  DocumentViews& Views() { return doc_->Views(); }
  WindowCallLog& Log() { return Views().WindowCalls(); }
  Lines& Calls() { return Log().Calls; }
  RecordingDocumentWindow& Recorded(std::int32_t formType) {
    return dynamic_cast<RecordingDocumentWindow&>(*Views().Window(formType));
  }

  // The seven views made and loaded, those in `shown` flagged visible, the log cleared.
  void MakeOutputViews(const std::vector<std::int32_t>& shown) {
    ASSERT_TRUE(doc_->CreateView(2));
    doc_->OutputViews_Load(false);
    for (const auto& kind : kOutputViewKinds) doc_->*kind.Visible = false;
    for (const std::int32_t formType : shown) doc_->*FindOutputViewKind(formType)->Visible = true;
    Log().Clear();
  }

  GeneralSettings settings_ = DefaultDocumentSettings();
  ViewsHost host_;
  DocumentTable table_{settings_, &host_};
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  clsDocument* doc_ = nullptr;
};

const std::vector<std::int32_t> kAllOutputViews = {3, 4, 5, 6, 7, 8, 9};

// --- Creating ---

TEST_F(DocumentViewsTest, CreatingMakesWindowsWithoutLoadingThem) {
  ASSERT_TRUE(doc_->CreateView(1));
  ASSERT_TRUE(doc_->CreateView(2));
  EXPECT_TRUE(doc_->ImageViewExist);
  EXPECT_TRUE(doc_->OutputViewsExist);
  for (const std::int32_t formType : {1, 3, 4, 5, 6, 7, 8, 9}) {
    ASSERT_NE(Views().Window(formType), nullptr) << formType;
    EXPECT_FALSE(Views().Window(formType)->IsLoaded()) << formType;
  }
  EXPECT_EQ(Views().Window(2), nullptr);
  EXPECT_EQ(Views().ViewTheta(), 60.0);
  EXPECT_EQ(Views().ViewPhi(), 30.0);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(DocumentViewsTest, AnUnknownViewTypeCreatesNothing) {
  for (const std::int32_t type : {0, 3, -1}) EXPECT_FALSE(doc_->CreateView(type)) << type;
  for (std::int32_t formType = 0; formType <= 9; ++formType)
    EXPECT_EQ(Views().Window(formType), nullptr) << formType;
  EXPECT_FALSE(doc_->ImageViewExist);
  EXPECT_FALSE(doc_->OutputViewsExist);
}

TEST_F(DocumentViewsTest, CreatingAgainKeepsTheWindowsThatExist) {
  ASSERT_TRUE(doc_->CreateView(1));
  ASSERT_TRUE(doc_->CreateView(2));
  DocumentWindow* image = Views().Window(1);
  DocumentWindow* surface = Views().Window(3);
  doc_->OutputViews_Load(false);
  Views().SetViewAngle(45);
  Log().Clear();

  EXPECT_TRUE(doc_->CreateView(1));
  EXPECT_TRUE(doc_->CreateView(2));
  EXPECT_EQ(Views().Window(1), image);
  EXPECT_EQ(Views().Window(3), surface);
  EXPECT_TRUE(surface->IsLoaded());
  EXPECT_EQ(Views().ViewAngle(), 45);
  EXPECT_TRUE(Calls().empty());
}

struct FailureCase {
  std::int32_t failAt;
  bool throws;
  int madeBefore;  // windows made, then released again
};

class CreateFailureTest : public DocumentViewsTest,
                          public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CreateFailureTest, AHalfMadeSetIsReleased) {
  const FailureCase& c = GetParam();
  auto failing = std::make_unique<FailingViews>();
  FailingViews& views = *failing;
  views.failAt = c.failAt;
  views.throws = c.throws;
  doc_->SetViews(std::move(failing));

  EXPECT_FALSE(doc_->CreateView(2));
  EXPECT_FALSE(doc_->OutputViewsExist);
  for (const std::int32_t formType : kAllOutputViews)
    EXPECT_EQ(views.Window(formType), nullptr) << formType;
  EXPECT_EQ(views.WindowCalls().Count("Unload"), c.madeBefore);
  if (c.throws) {
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, "Out of window handles");
    EXPECT_EQ(messages_.Messages()[0].title, "Error");
    EXPECT_EQ(messages_.Messages()[0].flags, mb::kOk);
  } else {
    EXPECT_TRUE(messages_.Messages().empty());
  }

  // Nothing is left behind: the next try makes a whole set.
  views.failAt = 0;
  EXPECT_TRUE(doc_->CreateView(2));
  for (const std::int32_t formType : kAllOutputViews)
    EXPECT_NE(views.Window(formType), nullptr) << formType;
}

INSTANTIATE_TEST_SUITE_P(Cases, CreateFailureTest,
                         ::testing::Values(FailureCase{3, false, 0}, FailureCase{6, false, 3},
                                           FailureCase{9, true, 6}, FailureCase{4, true, 1}));

TEST_F(DocumentViewsTest, AnImageViewThatCannotBeMadeIsReported) {
  auto failing = std::make_unique<FailingViews>();
  failing->failAt = 1;
  failing->throws = true;
  doc_->SetViews(std::move(failing));
  EXPECT_FALSE(doc_->CreateView(1));
  EXPECT_FALSE(doc_->ImageViewExist);
  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
}

struct EditModeCase {
  bool toolbarShown;
  bool editToolPressed;
  bool editMode;
};

class ImageEditModeTest : public DocumentViewsTest,
                          public ::testing::WithParamInterface<EditModeCase> {};

TEST_P(ImageEditModeTest, TheToolbarDecidesTheStartMode) {
  const EditModeCase& c = GetParam();
  host_.checks[ViewMenuItem::Toolbar] = c.toolbarShown;
  host_.editTool = c.editToolPressed;
  ASSERT_TRUE(doc_->CreateView(1));
  EXPECT_EQ(Views().MouseEditMode(), c.editMode);
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageEditModeTest,
                         ::testing::Values(EditModeCase{false, false, true},
                                           EditModeCase{false, true, true},
                                           EditModeCase{true, false, false},
                                           EditModeCase{true, true, true}));

// --- Image view ---

TEST_F(DocumentViewsTest, ImageInitLoadsCaptionsAndBuildsThePicture) {
  doc_->SetImageData(std::vector<std::uint8_t>(40 * 30, 7), 40, 30);
  doc_->ImageFileName = "scan.bmp";
  doc_->DocumentFileName = "mirror.ovd";
  ASSERT_TRUE(doc_->CreateView(1));
  host_.ClearLog();

  doc_->ImageView_Init();
  EXPECT_EQ(Calls(), (Lines{"Load 1 0 0 " + std::to_string(doc_->InitWindowWidth) + " " +
                                std::to_string(doc_->InitWindowHeight),
                            "Caption 1 mirror.ovd", "Bitmap 1 40 30"}));
  EXPECT_TRUE(Views().ImageReady());
  EXPECT_FALSE(Views().Window(1)->IsShown());
  EXPECT_EQ(host_.calls, (Lines{"SetBusyPointer 1", "SetBusyPointer 0"}));
}

TEST_F(DocumentViewsTest, ABlankImageIsCaptionedButGetsNoPicture) {
  doc_->LoadBlankImage(40, 30);
  doc_->ImageFileName = "scan.bmp";
  ASSERT_TRUE(doc_->CreateView(1));
  doc_->ImageView_Init();
  EXPECT_EQ(Views().Caption(1), "scan.bmp");
  EXPECT_EQ(Log().Count("Bitmap"), 0);
  EXPECT_TRUE(Views().ImageReady());
}

TEST_F(DocumentViewsTest, APlacementFromTheFileIsKeptForTheImageWindow) {
  // The reader places the image view before anything loads it.
  Views().SetViewPlacement(1, {10, 20, 300, 200});
  Views().SetCaption(1, "early");
  ASSERT_TRUE(doc_->CreateView(1));
  EXPECT_EQ(Views().Window(1)->Caption(), "early");
  doc_->SetImageData(std::vector<std::uint8_t>(40 * 30, 7), 40, 30);
  doc_->ImageView_Init();
  EXPECT_EQ(Views().Window(1)->Placement(), (WindowPlacement{10, 20, 300, 200}));
  EXPECT_EQ(Views().GetViewPlacement(1), (WindowPlacement{10, 20, 300, 200}));
}

TEST_F(DocumentViewsTest, TheHeadlessViewsKeepTheirZoomAndNormalState) {
  EXPECT_EQ(Views().ViewZoom(viewtype::kImage), 100);
  Views().SetViewZoom(viewtype::kImage, 75);
  EXPECT_EQ(Views().ViewZoom(viewtype::kImage), 75);
  EXPECT_EQ(Views().ViewZoom(viewtype::kSFringe), 100);

  Views().ShowViewNormal(viewtype::kImage);  // no window yet: nothing
  ASSERT_TRUE(doc_->CreateView(1));
  Recorded(viewtype::kImage).SetState(WindowShowState::Minimized);
  Views().ShowViewNormal(viewtype::kImage);
  EXPECT_EQ(Views().ViewShowState(viewtype::kImage), WindowShowState::Normal);
  EXPECT_EQ(Log().Count("ShowNormal 1"), 1);
}

TEST_F(DocumentViewsTest, RefreshingAnImageWithoutItsWindowDoesNothing) {
  doc_->SetImageData(std::vector<std::uint8_t>(40 * 30, 7), 40, 30);
  doc_->ImageView_Refresh();
  doc_->StretchImage(2.0, true);  // refreshes the view whatever it is told
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(host_.calls.empty());

  ASSERT_TRUE(doc_->CreateView(1));
  doc_->ImageView_Init();
  Log().Clear();
  doc_->ImageView_Refresh();
  EXPECT_EQ(Calls(), (Lines{"Caption 1 ", "Bitmap 1 80 30", "Repaint 1"}));
}

// --- Output views ---

TEST_F(DocumentViewsTest, LoadingPlacesEachWindowAtItsLayoutEntryInOrder) {
  ASSERT_TRUE(doc_->CreateView(2));
  doc_->OutputViews_Load(false);
  ASSERT_EQ(Calls().size(), 7u);
  const Lines codes = {"8", "7", "9", "6", "5", "4", "3"};
  for (std::size_t i = 0; i < codes.size(); ++i)
    EXPECT_EQ(Calls()[i].substr(0, 7), "Load " + codes[i] + " ") << i;
  for (const auto& kind : kOutputViewKinds) {
    EXPECT_EQ(Views().GetViewPlacement(kind.FormType), LayoutEntry(kind.LayoutIndex));
    EXPECT_FALSE(Views().Window(kind.FormType)->IsShown());
  }
}

TEST_F(DocumentViewsTest, CascadingTwiceMovesTheLayoutTwoStepsButNotTheLoadedWindows) {
  ASSERT_TRUE(doc_->CreateView(2));
  doc_->OutputViews_Load(true);
  doc_->OutputViews_Load(true);
  for (const auto& kind : kOutputViewKinds) {
    const WindowPlacement start = LayoutEntry(kind.LayoutIndex);
    // One step is (frame, frame + caption) = (4, 23).
    EXPECT_EQ(settings_.ResultWindowLayout[kind.LayoutIndex],
              (WindowPlacement{start.Left + 8, start.Top + 46, start.Width, start.Height}));
    EXPECT_EQ(Views().GetViewPlacement(kind.FormType),
              (WindowPlacement{start.Left + 4, start.Top + 23, start.Width, start.Height}));
  }
  EXPECT_EQ(Log().Count("Load"), 7);
}

TEST_F(DocumentViewsTest, VisibilityShowsInItsOrderAndLeavesTheSurfaceActive) {
  MakeOutputViews({3, 4, 6, 7, 8});
  doc_->OutputViews_UpdateVisibility(true);
  EXPECT_EQ(Calls(), (Lines{"Show 8 activate", "Hide 9", "Show 7 activate", "Show 6 activate",
                            "Hide 5", "Show 4 activate", "Show 3 activate"}));
  EXPECT_EQ(Log().Active, 3);
}

TEST_F(DocumentViewsTest, VisibilityWithoutActivatingKeepsTheActiveWindow) {
  ASSERT_TRUE(doc_->CreateView(1));
  doc_->ImageView_Init();
  doc_->Views().ShowImageView();
  MakeOutputViews({5, 9});
  doc_->OutputViews_UpdateVisibility(false);
  EXPECT_EQ(Calls(), (Lines{"Hide 8", "Show 9", "Hide 7", "Hide 6", "Show 5", "Hide 4", "Hide 3"}));
  EXPECT_EQ(Log().Active, 1);
}

TEST_F(DocumentViewsTest, ShowingWithoutActivatingUsesTheCommonLayoutInHogMode) {
  MakeOutputViews({3, 7, 9});
  // The windows were moved since they loaded; the common layout puts them back.
  for (const std::int32_t formType : {3, 7, 9}) Views().SetViewPlacement(formType, {1, 2, 3, 4});
  Log().Clear();
  Log().Active = 1;
  doc_->OutputViews_ShowNoActivate(false);
  EXPECT_EQ(Calls(), (Lines{"Place 7 40 80 104 204", "Show 7", "Place 3 0 0 100 200", "Show 3",
                            "Place 9 60 120 106 206", "Show 9"}));
  EXPECT_EQ(Log().Active, 1);
  EXPECT_EQ(doc_->ActiveView, 0);
  EXPECT_EQ(table_.ActiveDocIndex, 0);

  Log().Clear();
  settings_.HogWindows = false;
  doc_->OutputViews_ShowNoActivate(true);
  EXPECT_EQ(Calls(), (Lines{"Show 7 raise", "Show 3 raise", "Show 9 raise"}));
  EXPECT_EQ(Views().GetViewPlacement(3), (WindowPlacement{0, 0, 100, 200}));
}

TEST_F(DocumentViewsTest, HideAllHidesTheShownViewsAndKeepsTheFlags) {
  MakeOutputViews({3, 5, 8, 9});
  doc_->OutputViews_UpdateVisibility(true);
  Log().Clear();
  doc_->OutputViews_HideAll();
  EXPECT_EQ(Calls(), (Lines{"Hide 8", "Hide 5", "Hide 3", "Hide 9"}));
  EXPECT_TRUE(doc_->SurfacePlotViewVisible);
  EXPECT_TRUE(doc_->GridResultsViewVisible);
}

TEST_F(DocumentViewsTest, RefreshRepaintsTheViewsWhoseFlagIsSet) {
  MakeOutputViews({3, 6, 7, 9});
  doc_->OutputViews_Refresh();
  EXPECT_EQ(Calls(), (Lines{"Repaint 7", "Repaint 9", "Repaint 6", "Repaint 3"}));
}

TEST_F(DocumentViewsTest, OffsetMovesTheFlaggedViewsOnly) {
  MakeOutputViews({7, 4});
  doc_->OutputViews_Offset(5, -3, false);
  EXPECT_EQ(Calls(), (Lines{"Move 7 45 77", "Show 7", "Move 4 15 17", "Show 4"}));
  EXPECT_EQ(Views().GetViewPlacement(8), LayoutEntry(5));  // hidden Zernikes stay

  Log().Clear();
  doc_->OutputViews_Offset(1, 1, true);
  EXPECT_EQ(Calls(), (Lines{"Move 7 46 78", "Move 4 16 18"}));
}

struct SelectCase {
  std::int32_t view;
  Lines expected;
};

class SelectTest : public DocumentViewsTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SelectTest, OnlyAnExistingShownViewComesToTheTop) {
  ASSERT_TRUE(doc_->CreateView(1));
  doc_->ImageView_Init();
  MakeOutputViews({3, 8});  // aberrations (7) hidden
  doc_->OutputViews_Select(GetParam().view);
  EXPECT_EQ(Calls(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectTest,
                         ::testing::Values(SelectCase{1, {"Top 1 activate"}},
                                           SelectCase{8, {"Top 8 activate"}},
                                           SelectCase{7, {}}, SelectCase{2, {}},
                                           SelectCase{10, {}}, SelectCase{0, {}},
                                           SelectCase{-1, {}}));

TEST_F(DocumentViewsTest, SelectingBeforeTheWindowsExistDoesNothing) {
  doc_->SurfacePlotViewVisible = true;
  doc_->OutputViews_Select(1);
  doc_->OutputViews_Select(3);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(DocumentViewsTest, WithoutOutputViewsTheOutputMembersDoNothing) {
  for (const auto& kind : kOutputViewKinds) doc_->*kind.Visible = true;
  const ResultWindowPlacements layout = settings_.ResultWindowLayout;
  const ResultWindowFlags visible = settings_.ResultWindowVisible;
  const std::vector<std::function<void()>> members = {
      [&] { doc_->OutputViews_Load(true); },
      [&] { doc_->OutputViews_UpdateVisibility(true); },
      [&] { doc_->OutputViews_ShowNoActivate(true); },
      [&] { doc_->OutputViews_HideAll(); },
      [&] { doc_->OutputViews_Refresh(); },
      [&] { doc_->OutputViews_Offset(3, 3, false); },
      [&] { doc_->OutputViews_UpdateGlobals(true); },
      [&] { doc_->OutputViews_UpdateGlobals(false); },
  };
  for (const auto& member : members) member();
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(settings_.ResultWindowLayout, layout);
  EXPECT_EQ(settings_.ResultWindowVisible, visible);
  EXPECT_TRUE(doc_->GridResultsViewVisible);
}

// --- The program-wide layout ---

TEST_F(DocumentViewsTest, SavingToGlobalsWithoutHogModeCopiesTheFlagsOnly) {
  settings_.HogWindows = false;
  MakeOutputViews({4, 9});
  Views().SetViewPlacement(4, {1, 2, 3, 4});
  const ResultWindowPlacements layout = settings_.ResultWindowLayout;
  doc_->OutputViews_UpdateGlobals(true);
  EXPECT_EQ(settings_.ResultWindowVisible,
            (ResultWindowFlags{false, true, false, false, false, false, true}));
  EXPECT_EQ(settings_.ResultWindowLayout, layout);
}

TEST_F(DocumentViewsTest, SavingToGlobalsInHogModeStoresTheNormalWindowsOnly) {
  MakeOutputViews(kAllOutputViews);
  for (const std::int32_t formType : kAllOutputViews)
    Views().SetViewPlacement(formType, {formType, formType, 50, 60});
  Recorded(3).SetState(WindowShowState::Minimized);
  Recorded(8).SetState(WindowShowState::Maximized);
  doc_->OutputViews_UpdateGlobals(true);
  for (const auto& kind : kOutputViewKinds) {
    const bool normal = kind.FormType != 3 && kind.FormType != 8;
    const WindowPlacement expected =
        normal ? WindowPlacement{kind.FormType, kind.FormType, 50, 60} : LayoutEntry(kind.LayoutIndex);
    EXPECT_EQ(settings_.ResultWindowLayout[kind.LayoutIndex], expected) << kind.FormType;
  }
}

TEST_F(DocumentViewsTest, TakingTheGlobalsAndSavingThemBackChangesNothing) {
  MakeOutputViews({});
  settings_.ResultWindowVisible = {true, false, true, false, false, true, false};
  const ResultWindowFlags before = settings_.ResultWindowVisible;
  doc_->OutputViews_UpdateGlobals(false);
  EXPECT_TRUE(doc_->SurfacePlotViewVisible);
  EXPECT_TRUE(doc_->ZernikesViewVisible);
  EXPECT_FALSE(doc_->ContourPlotViewVisible);
  doc_->OutputViews_UpdateGlobals(true);
  EXPECT_EQ(settings_.ResultWindowVisible, before);
}

// --- Activation ---

TEST_F(DocumentViewsTest, ActivatingAnotherDocumentInHogModeSwapsTheSharedResultWindows) {
  settings_.HogWindows = true;
  MakeOutputViews({3, 4});
  doc_->OutputViews_ShowNoActivate(false);
  table_.ActiveDocIndex = doc_->ovDocIndex;
  clsDocument* other = nullptr;
  ASSERT_TRUE(table_.NewDocument(other));
  ASSERT_TRUE(other->CreateView(2));
  other->OutputViews_Load(false);
  host_.ClearLog();

  ActivateDocument(host_, *other);
  EXPECT_FALSE(Views().Window(3)->IsShown());
  EXPECT_FALSE(Views().Window(4)->IsShown());
  EXPECT_TRUE(other->SurfacePlotViewVisible);
  EXPECT_TRUE(other->Views().Window(3)->IsShown());
  EXPECT_TRUE(other->Views().Window(4)->IsShown());
  EXPECT_FALSE(other->Views().Window(5)->IsShown());
  EXPECT_EQ(host_.calls, Lines{"StoreWindowLayout 2"});
}

TEST_F(DocumentViewsTest, ActivatingTheActiveDocumentOnlyStoresTheLayout) {
  settings_.HogWindows = true;
  MakeOutputViews({3});
  doc_->OutputViews_ShowNoActivate(false);
  table_.ActiveDocIndex = doc_->ovDocIndex;
  Log().Clear();
  host_.ClearLog();

  ActivateDocument(host_, *doc_);
  EXPECT_TRUE(Views().Window(3)->IsShown());
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(host_.calls, Lines{"StoreWindowLayout 1"});
}

// --- Dialog lists and lifetime ---

TEST_F(DocumentViewsTest, TheAverageListsTakeOnlyANamedDocumentWithOutputViews) {
  doc_->ImageFileName = "scan.bmp";
  doc_->UpdateAverageList();
  EXPECT_TRUE(host_.listed.empty());

  ASSERT_TRUE(doc_->CreateView(2));
  doc_->ImageFileName.clear();
  doc_->UpdateAverageList();
  EXPECT_TRUE(host_.listed.empty());

  doc_->ImageFileName = "scan.bmp";
  doc_->UpdateAverageList();
  EXPECT_EQ(host_.listed, std::vector<std::int32_t>{doc_->ovDocIndex});
}

TEST_F(DocumentViewsTest, ClosingTheDocumentUnloadsEveryWindowInOrder) {
  WindowCallLog outlived;
  doc_->SetViews(std::make_unique<OutlivedViews>(outlived));
  ASSERT_TRUE(doc_->CreateView(1));
  ASSERT_TRUE(doc_->CreateView(2));
  std::int16_t cancel = 0;
  table_.CloseDocument(doc_, true, cancel);
  EXPECT_EQ(outlived.Calls, (Lines{"Unload 3", "Unload 4", "Unload 5", "Unload 6", "Unload 7",
                                   "Unload 8", "Unload 9", "Unload 1"}));
}

TEST_F(DocumentViewsTest, ReleasingTheReferencesUnloadsTheWindows) {
  ASSERT_TRUE(doc_->CreateView(2));
  doc_->OutputViews_Load(false);
  doc_->DestroyView(2);
  EXPECT_FALSE(doc_->OutputViewsExist);
  EXPECT_EQ(Views().Window(3), nullptr);
  EXPECT_EQ(Log().Count("Unload"), 7);
  // Their last places stay readable, as the file writer may still ask.
  EXPECT_EQ(Views().GetViewPlacement(3), LayoutEntry(0));
}

}  // namespace
}  // namespace orvale::testing
