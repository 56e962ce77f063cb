#pragma once
// Fixtures of the result-window suites: a main window with an MDI area whose documents
// get the real result windows, distinct cursors for the synthetic-fringe view's tools,
// and an analysed document shown in it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QImage>
#include <memory>

#include "app/document/DocumentTable.h"
#include "app/document/OutputViewKinds.h"
#include "app/document/clsDocument.h"
#include "app/plots/ResultDocumentViews.h"
#include "platform/ui/MessageService.h"
#include "tests/app/document/DocumentModelTestSupport.h"
#include "tests/support/MdiTestHost.h"

namespace orvale::testing {

class ResultWindowsHost : public MdiTestHost {
 public:
  std::unique_ptr<DocumentViews> CreateDocumentViews(clsDocument& /*doc*/) override {
    return std::make_unique<ResultDocumentViews>(*this, Area());
  }
  // Each tool's cursor its own shape, so that tests can tell them apart.
  QCursor MouseIcon(std::string_view key) const override {
    if (key == "curHandTool") return QCursor(Qt::OpenHandCursor);
    if (key == "curZoomIn") return QCursor(Qt::CrossCursor);
    if (key == "curZoomOut") return QCursor(Qt::ForbiddenCursor);
    return QCursor(Qt::ArrowCursor);
  }
};

inline void RunDeferredDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Defocus, astigmatism, coma and spherical aberration, a few waves in all.
inline ZernikeVector KnownWavefront() {
  ZernikeVector z{};
  z[3] = 2.0;
  z[4] = 0.4;
  z[5] = -0.25;
  z[6] = -0.3;
  z[8] = 0.3;
  return z;
}

// A document in the host with its seven windows loaded at a layout of its own, the
// views in `shown` visible, and (unless `analyse` is false) the analysis of fringes
// traced along a known wavefront.
class ResultWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::size_t i = 0; i < settings_.ResultWindowLayout.size(); ++i) {
      const auto n = static_cast<std::int32_t>(i);
      settings_.ResultWindowLayout[i] = {10 + 30 * n, 10 + 20 * n, 360, 300};
    }
    settings_.ReportShowFlags.fill(true);
    ASSERT_TRUE(table_->NewDocument(doc_));
    doc_->ImageFileName = "mirror.bmp";
  }
  void TearDown() override {
    table_.reset();
    RunDeferredDeletes();
  }

  void ShowOutputViews(const std::vector<std::int32_t>& shown, bool analyse = true) {
    GiveImageAndAperture(*doc_, pupil_);
    doc_->zscale = 1.0;
    doc_->NumZernikeToFit = 8;
    ASSERT_TRUE(doc_->CreateView(2));
    doc_->OutputViews_Load(false);
    for (const auto& kind : kOutputViewKinds) doc_->*kind.Visible = false;
    for (const std::int32_t formType : shown) doc_->*FindOutputViewKind(formType)->Visible = true;
    doc_->OutputViews_UpdateVisibility(true);
    if (!analyse) return;
    ASSERT_GT(AddContourFringes(*doc_, pupil_, KnownWavefront()), 100);
    doc_->UpdateAnalysis(false, false);
    ASSERT_TRUE(doc_->AnalysisValid);
  }

  ResultDocumentViews& Views() { return dynamic_cast<ResultDocumentViews&>(doc_->Views()); }
  ResultViewModels& Models() { return Views().Models(); }

  GeneralSettings settings_ = DefaultDocumentSettings();
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  ResultWindowsHost host_;
  std::unique_ptr<DocumentTable> table_ = std::make_unique<DocumentTable>(settings_, &host_);
  clsDocument* doc_ = nullptr;
  Pupil pupil_;
};

}  // namespace orvale::testing
