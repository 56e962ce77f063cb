#include "tests/support/MdiTestHost.h"

#include <QVBoxLayout>

#include "app/plots/DocumentSubWindow.h"

namespace orvale::testing {

MdiTestHost::MdiTestHost(MdiDocumentViews::SubWindowFactory factory)
    : factory_(std::move(factory)), area_(new QMdiArea) {
  auto* layout = new QVBoxLayout(&window_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(area_);
  window_.resize(1000, 800);
  window_.show();
}

std::unique_ptr<DocumentViews> MdiTestHost::CreateDocumentViews(clsDocument& /*doc*/) {
  return std::make_unique<MdiDocumentViews>(*this, *area_, factory_);
}

WindowFrameMetrics MdiTestHost::FrameMetrics() const { return MdiWindowFrameMetrics(*area_->style()); }

}  // namespace orvale::testing
