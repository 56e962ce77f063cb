#pragma once
// The client area of a result window: everything is drawn through a device context into
// a backing image of the client's size, and painting only copies that image to the
// screen. The image is kept at one device pixel per logical pixel, so that what a test
// reads from it is what the drawing code drew.
#include <QWidget>
#include <memory>

#include "platform/gdi/ImageDeviceContext.h"

class QPaintEvent;

namespace orvale {

class BackingImageWidget : public QWidget {
 public:
  explicit BackingImageWidget(QWidget* parent = nullptr);
  ~BackingImageWidget() override;

  // The window's own device context outside a paint: the backing image at the client's
  // size. When the size changed the image is made anew in the window colour; the caller
  // draws it and then calls update().
  gdi::ImageDeviceContext& DC();
  // What the window shows; null before anything was drawn.
  const QImage* Image() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::unique_ptr<gdi::ImageDeviceContext> backing_;
};

}  // namespace orvale
