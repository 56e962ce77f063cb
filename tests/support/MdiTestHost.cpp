#include "tests/support/MdiTestHost.h"

#include <QStyle>
#include <QVBoxLayout>

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

WindowFrameMetrics MdiTestHost::FrameMetrics() const {
  const QStyle* style = area_->style();
  WindowFrameMetrics metrics;
  metrics.ScrollBarWidth = style->pixelMetric(QStyle::PM_ScrollBarExtent);
  metrics.ScrollBarHeight = metrics.ScrollBarWidth;
  metrics.FrameWidth = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  metrics.FrameHeight = metrics.FrameWidth;
  metrics.CaptionHeight = style->pixelMetric(QStyle::PM_TitleBarHeight);
  return metrics;
}

}  // namespace orvale::testing
