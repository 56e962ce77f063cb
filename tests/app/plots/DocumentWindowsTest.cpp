#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/document/DocumentTable.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "app/plots/DocumentSubWindow.h"
#include "app/plots/MdiDocumentViews.h"
#include "platform/ui/MessageService.h"
#include "tests/app/document/DocumentModelTestSupport.h"
#include "tests/support/MdiTestHost.h"

namespace orvale::testing {
namespace {

const std::vector<std::int32_t> kAllOutputViews = {3, 4, 5, 6, 7, 8, 9};

void RunDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

WindowPlacement Geometry(const QWidget& w) {
  return {w.geometry().x(), w.geometry().y(), w.geometry().width(), w.geometry().height()};
}

class DocumentWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::size_t i = 0; i < settings_.ResultWindowLayout.size(); ++i) {
      const auto n = static_cast<std::int32_t>(i);
      settings_.ResultWindowLayout[i] = {20 * n, 15 * n, 240 + n, 180 + n};
    }
    ASSERT_TRUE(table_->NewDocument(doc_));
  }
  void TearDown() override {
    table_.reset();
    RunDeferredDeletes();
  }

  MdiDocumentViews& Views() { return dynamic_cast<MdiDocumentViews&>(doc_->Views()); }
  DocumentSubWindow* Sub(std::int32_t formType) { return Views().SubWindow(formType); }
  QMdiSubWindow* Active() { return host_.Area().activeSubWindow(); }

  // The seven windows made and loaded, with the views in `shown` flagged visible.
  void MakeOutputViews(const std::vector<std::int32_t>& shown) {
    ASSERT_TRUE(doc_->CreateView(2));
    doc_->OutputViews_Load(false);
    for (const auto& kind : kOutputViewKinds) doc_->*kind.Visible = false;
    for (const std::int32_t formType : shown) doc_->*FindOutputViewKind(formType)->Visible = true;
  }
  void ShowImageView() {
    ASSERT_TRUE(doc_->CreateView(1));
    doc_->SetImageData(std::vector<std::uint8_t>(40 * 30, 9), 40, 30);
    doc_->ImageView_Init();
    doc_->Views().ShowImageView();
  }

  GeneralSettings settings_ = DefaultDocumentSettings();
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  MdiTestHost host_;
  std::unique_ptr<DocumentTable> table_ = std::make_unique<DocumentTable>(settings_, &host_);
  clsDocument* doc_ = nullptr;
};

TEST_F(DocumentWindowsTest, LoadedWindowsWaitHiddenAtTheirLayoutInTheArea) {
  MakeOutputViews({});
  for (const auto& kind : kOutputViewKinds) {
    DocumentSubWindow* window = Sub(kind.FormType);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->mdiArea(), &host_.Area());
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(Geometry(*window), settings_.ResultWindowLayout[kind.LayoutIndex]);
    EXPECT_EQ(window->parentDoc, doc_);
    EXPECT_EQ(window->FormType, kind.FormType);
  }
  EXPECT_EQ(host_.Area().horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  EXPECT_EQ(host_.Area().verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  EXPECT_EQ(host_.Count("StoreWindowLayout"), 0);
}

TEST_F(DocumentWindowsTest, ShowingWithActivationEndsWithTheSurfaceActive) {
  MakeOutputViews({3, 4, 7});
  host_.ClearLog();
  doc_->OutputViews_UpdateVisibility(true);
  for (const std::int32_t formType : kAllOutputViews) {
    const bool shown = formType == 3 || formType == 4 || formType == 7;
    EXPECT_EQ(!Sub(formType)->isHidden(), shown) << formType;
  }
  EXPECT_EQ(Active(), Sub(3));
  EXPECT_EQ(doc_->ActiveView, 3);
  ASSERT_FALSE(host_.calls.empty());
  EXPECT_EQ(host_.calls.back(), "UpdateMainFrame 3 " + std::to_string(1E+308) + " 0");
  EXPECT_EQ(host_.Count("StoreWindowLayout " + std::to_string(doc_->ovDocIndex)), 3);
}

TEST_F(DocumentWindowsTest, ShowingWithoutActivationLeavesTheActiveWindowAlone) {
  ShowImageView();
  ASSERT_EQ(Active(), Sub(1));
  EXPECT_EQ(doc_->ActiveView, 1);
  MakeOutputViews({3, 5, 8});
  doc_->ActiveView = 1;
  table_->ActiveDocIndex = 7;
  host_.ClearLog();

  doc_->OutputViews_ShowNoActivate(true);
  EXPECT_EQ(Active(), Sub(1));
  for (const std::int32_t formType : {3, 5, 8}) EXPECT_FALSE(Sub(formType)->isHidden());
  EXPECT_TRUE(Sub(4)->isHidden());
  EXPECT_EQ(doc_->ActiveView, 1);
  EXPECT_EQ(table_->ActiveDocIndex, 7);
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(DocumentWindowsTest, ShowingWithoutActivationWhenNoneIsActiveActivatesNone) {
  MakeOutputViews({4, 9});
  doc_->OutputViews_ShowNoActivate(false);
  EXPECT_EQ(Active(), nullptr);
  EXPECT_FALSE(Sub(9)->isHidden());
  EXPECT_EQ(host_.Count("UpdateMainFrame"), 0);
}

TEST_F(DocumentWindowsTest, SelectingActivatesAndUpdatesTheMainWindow) {
  MakeOutputViews({3, 7});
  doc_->OutputViews_UpdateVisibility(true);
  host_.ClearLog();
  doc_->OutputViews_Select(7);
  EXPECT_EQ(Active(), Sub(7));
  EXPECT_EQ(doc_->ActiveView, 7);
  EXPECT_EQ(host_.calls, (std::vector<std::string>{
                             "StoreWindowLayout " + std::to_string(doc_->ovDocIndex),
                             "UpdateMainFrame 7 " + std::to_string(1E+308) + " 0"}));
}

TEST_F(DocumentWindowsTest, PlacementsAreAreaPixels) {
  MakeOutputViews({6});
  doc_->OutputViews_UpdateVisibility(false);
  doc_->OutputViews_Offset(7, -5, true);
  EXPECT_EQ(Geometry(*Sub(6)), (WindowPlacement{67, 40, 243, 183}));
  doc_->Views().SetViewPlacement(6, {5, 6, 300, 200});
  EXPECT_EQ(Geometry(*Sub(6)), (WindowPlacement{5, 6, 300, 200}));
  EXPECT_EQ(doc_->Views().GetViewPlacement(6), (WindowPlacement{5, 6, 300, 200}));
  doc_->Views().SetCaption(6, "Synthetic Fringes - a.ovd");
  EXPECT_EQ(Sub(6)->windowTitle(), QString("Synthetic Fringes - a.ovd"));
}

TEST_F(DocumentWindowsTest, WindowStatesReachTheLayoutRules) {
  MakeOutputViews({3, 4});
  doc_->OutputViews_UpdateVisibility(true);
  // A maximised active window hands its state to the next one activated, so the
  // minimised one goes first.
  Sub(4)->showMinimized();
  Sub(3)->showMaximized();
  EXPECT_EQ(doc_->Views().ViewShowState(3), WindowShowState::Maximized);
  EXPECT_EQ(doc_->Views().ViewShowState(4), WindowShowState::Minimized);
  EXPECT_EQ(doc_->Views().ViewShowState(5), WindowShowState::Normal);
  const ResultWindowPlacements before = settings_.ResultWindowLayout;
  Sub(5)->setGeometry(1, 2, 250, 190);
  doc_->OutputViews_UpdateGlobals(true);
  EXPECT_EQ(settings_.ResultWindowLayout[0], before[0]);
  EXPECT_EQ(settings_.ResultWindowLayout[1], before[1]);
  EXPECT_EQ(settings_.ResultWindowLayout[2], (WindowPlacement{1, 2, 250, 190}));

  doc_->Views().ShowViewNormal(3);
  doc_->Views().ShowViewNormal(4);
  EXPECT_EQ(doc_->Views().ViewShowState(3), WindowShowState::Normal);
  EXPECT_EQ(doc_->Views().ViewShowState(4), WindowShowState::Normal);
  EXPECT_TRUE(Sub(4)->isVisible());
}

class CloseBoxTest : public DocumentWindowsTest,
                     public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(CloseBoxTest, TheCloseBoxHidesTheViewAndKeepsTheWindow) {
  const std::int32_t formType = GetParam();
  const OutputViewKind& kind = *FindOutputViewKind(formType);
  MakeOutputViews(kAllOutputViews);
  doc_->OutputViews_UpdateVisibility(true);
  doc_->OutputViews_Select(formType);
  ASSERT_EQ(Active(), Sub(formType));
  host_.checks[kind.MenuItem] = true;
  host_.ClearLog();

  const QPointer<DocumentSubWindow> window = Sub(formType);
  EXPECT_FALSE(window->close());
  RunDeferredDeletes();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isHidden());
  EXPECT_FALSE(doc_->*kind.Visible);
  EXPECT_FALSE(host_.ViewItemChecked(kind.MenuItem));
  ASSERT_GE(host_.calls.size(), 2u);
  EXPECT_EQ(host_.calls[0], "SetViewItemChecked " + std::to_string(static_cast<int>(kind.MenuItem)) + " 0");
  EXPECT_EQ(host_.calls[1], "UpdateToolBar");
  EXPECT_EQ(doc_->Views().Window(formType)->Caption(), window->windowTitle().toStdString());
  // The next window takes over, as when a window goes away.
  ASSERT_NE(Active(), nullptr);
  EXPECT_NE(Active(), window);
  EXPECT_FALSE(Active()->isHidden());

  // Shown again by its flag, it is the same window.
  doc_->*kind.Visible = true;
  doc_->OutputViews_UpdateVisibility(false);
  EXPECT_FALSE(window->isHidden());
  EXPECT_EQ(Sub(formType), window);
}

INSTANTIATE_TEST_SUITE_P(EveryOutputView, CloseBoxTest, ::testing::ValuesIn(kAllOutputViews));

TEST_F(DocumentWindowsTest, ClosingTheDocumentDeletesItsWindows) {
  ShowImageView();
  MakeOutputViews({3, 8});
  doc_->OutputViews_UpdateVisibility(true);
  std::vector<QPointer<DocumentSubWindow>> windows;
  for (const std::int32_t formType : {1, 3, 4, 5, 6, 7, 8, 9}) windows.emplace_back(Sub(formType));

  std::int16_t cancel = 0;
  table_->CloseDocument(doc_, true, cancel);
  ASSERT_EQ(doc_, nullptr);
  // Let go at once, deleted when the event loop runs.
  for (const auto& window : windows) {
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentDoc, nullptr);
  }
  RunDeferredDeletes();
  for (const auto& window : windows) EXPECT_EQ(window, nullptr);
  EXPECT_TRUE(host_.Area().subWindowList().isEmpty());
}

TEST_F(DocumentWindowsTest, WindowsNeverLoadedAreDeletedToo) {
  ASSERT_TRUE(doc_->CreateView(2));
  const QPointer<DocumentSubWindow> window = Sub(5);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->mdiArea(), nullptr);
  std::int16_t cancel = 0;
  table_->CloseDocument(doc_, true, cancel);
  RunDeferredDeletes();
  EXPECT_EQ(window, nullptr);
}

// An image view whose close box closes its document, as the real one does.
class ClosingImageWindow : public DocumentSubWindow {
 public:
  ClosingImageWindow(MainFrame& frame, clsDocument& doc, DocumentTable*& table)
      : DocumentSubWindow(frame, doc, viewtype::kImage, new QWidget), table_(table) {}
  int closes = 0;

 protected:
  void UserClose() override {
    ++closes;
    clsDocument* doc = parentDoc;
    std::int16_t cancel = 0;
    table_->CloseDocument(doc, true, cancel);
    // The window outlives its own handler.
    EXPECT_EQ(parentDoc, nullptr);
    EXPECT_EQ(FormType, viewtype::kImage);
  }

 private:
  DocumentTable*& table_;
};

class ImageCloseTest : public ::testing::Test {
 protected:
  GeneralSettings settings_ = DefaultDocumentSettings();
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  DocumentTable* tablePointer_ = nullptr;
  MdiTestHost host_{[this](MainFrame& frame, clsDocument& doc,
                           std::int32_t formType) -> DocumentSubWindow* {
    if (formType == viewtype::kImage) return new ClosingImageWindow(frame, doc, tablePointer_);
    return new DocumentSubWindow(frame, doc, formType);
  }};
  DocumentTable table_{settings_, &host_};
};

TEST_F(ImageCloseTest, AnImageViewThatClosesItsDocumentIsDeletedAfterItsHandler) {
  clsDocument* doc = nullptr;
  tablePointer_ = &table_;
  ASSERT_TRUE(table_.NewDocument(doc));
  ASSERT_TRUE(doc->CreateView(1));
  doc->SetImageData(std::vector<std::uint8_t>(40 * 30, 9), 40, 30);
  doc->ImageView_Init();
  doc->Views().ShowImageView();
  const QPointer<DocumentSubWindow> window =
      dynamic_cast<MdiDocumentViews&>(doc->Views()).SubWindow(viewtype::kImage);
  ASSERT_NE(window, nullptr);

  window->close();
  EXPECT_EQ(table_.NumDocuments, 0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(static_cast<ClosingImageWindow*>(window.data())->closes, 1);
  // A second close request reaches a window whose document is gone: nothing happens.
  window->close();
  EXPECT_EQ(static_cast<ClosingImageWindow*>(window.data())->closes, 1);
  RunDeferredDeletes();
  EXPECT_EQ(window, nullptr);
  EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
}  // namespace orvale::testing
