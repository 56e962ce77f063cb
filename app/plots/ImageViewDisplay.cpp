#include "app/plots/ImageViewDisplay.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "app/document/AreaFills.h"
#include "app/pictures/DWordAlign.h"
#include "app/document/DisplayPalette.h"
#include "app/document/DocumentHost.h"
#include "app/pictures/GreyBitmapInfo.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/gdi/PixelSource.h"
#include "platform/gdi/RasterOps.h"
#include "platform/gdi/DrawModes.h"
#include "platform/registry/GeneralSettings.h"
#include "platform/runtime/Markers.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

// A 32-bit picture of the given size, or null when it cannot be allocated.
std::unique_ptr<gdi::ImageDeviceContext> MakeBitmap(std::int32_t width, std::int32_t height) {
  try {
    auto bitmap = std::make_unique<gdi::ImageDeviceContext>(width, height);
    if (bitmap->Image().isNull()) return nullptr;
    return bitmap;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// A top-down copy of `height` rows of `stride` bytes; `bottomUp` rows are turned over.
std::vector<std::uint8_t> TopDownRows(std::span<const std::uint8_t> rows, std::size_t stride, std::size_t height,
                                      bool bottomUp) {
  std::vector<std::uint8_t> copy(stride * height);
  for (std::size_t i = 0; i < height; ++i) {
    const std::size_t from = bottomUp ? height - 1 - i : i;
    std::memcpy(copy.data() + i * stride, rows.data() + from * stride, stride);
  }
  return copy;
}

}  // namespace

ImageViewDisplay::ImageViewDisplay(const GeneralSettings& settings, DocumentHost& host)
    : settings_(&settings), host_(&host) {}

ImageViewDisplay::~ImageViewDisplay() = default;

void ImageViewDisplay::SetImageSize(std::int32_t width, std::int32_t height) {
  const bool valid = width >= 1 && height >= 1;
  Geometry.ImageWidth = valid ? width : 0;
  Geometry.ImageHeight = valid ? height : 0;
}

std::uint32_t DisplayPicture::RgbAt(int x, int y) const {
  const gdi::RgbQuad& colour = Info.colors[Rows[static_cast<std::size_t>(y) *
                                                    static_cast<std::size_t>(AlignToDWord(Info.header.biWidth)) +
                                                static_cast<std::size_t>(x)]];
  return (std::uint32_t{colour.rgbRed} << 16) | (std::uint32_t{colour.rgbGreen} << 8) | colour.rgbBlue;
}

bool ImageViewDisplay::RefreshBitmapFromData(std::span<const std::uint8_t> data,
                                             std::int32_t XSize, std::int32_t YSize) {
  imageBitmap_.reset();
  SetImageSize(XSize, YSize);
  if (XSize >= 1 && YSize >= 1 &&
      data.size() / static_cast<std::size_t>(XSize) >= static_cast<std::size_t>(YSize)) {
    try {
      const std::size_t width = static_cast<std::size_t>(XSize);
      const std::size_t height = static_cast<std::size_t>(YSize);
      const auto pixels = data.first(width * height);
      auto picture = std::make_unique<DisplayPicture>();
      // The colour table starts empty: the red display with stretching writes only the
      // red bytes, so that it shows black to red.
      picture->Info = GreyBitmapInfo(XSize, -YSize, 0);
      picture->Info.colors.fill(gdi::RgbQuad{});
      std::int32_t first = kNotGivenLong;
      SetDisplayPalette(settings_->RedDisplay, StretchContrast && settings_->AutoStretch, pixels,
                        picture->Info, first);
      // DIB rows are padded to four bytes.
      const std::size_t stride = static_cast<std::size_t>(AlignToDWord(XSize));
      picture->Rows.assign(stride * height, 0);
      for (std::size_t i = 0; i < height; ++i) {
        std::memcpy(picture->Rows.data() + i * stride, pixels.data() + i * width, width);
      }
      imageBitmap_ = std::move(picture);
    } catch (const std::bad_alloc&) {
      imageBitmap_.reset();
    }
  }
  UpdateSmallBitmap();
  return imageBitmap_ != nullptr;
}

bool ImageViewDisplay::RefreshBitmapFromDIB(std::span<const std::uint8_t> dib, std::int32_t XSize,
                                            std::int32_t YSize) {
  imageBitmap_.reset();
  SetImageSize(XSize, YSize);
  std::size_t offset = 0;
  std::optional<gdi::BitmapInfo> info = gdi::ReadPackedDib(dib, offset);
  if (XSize >= 1 && YSize >= 1 && info && info->header.biBitCount == 8 &&
      info->header.biWidth == XSize &&
      (info->header.biHeight == YSize || info->header.biHeight == -YSize) &&
      gdi::DibPixelSource(*info, dib.subspan(offset))) {
    try {
      std::int32_t first = static_cast<std::int32_t>(offset);
      SetDisplayPalette(settings_->RedDisplay, StretchContrast && settings_->AutoStretch, dib,
                        *info, first);
      auto picture = std::make_unique<DisplayPicture>();
      picture->Info = *info;
      picture->Info.header.biHeight = -YSize;
      picture->Rows = TopDownRows(dib.subspan(offset), static_cast<std::size_t>(AlignToDWord(XSize)),
                                  static_cast<std::size_t>(YSize), info->header.biHeight > 0);
      imageBitmap_ = std::move(picture);
    } catch (const std::bad_alloc&) {
      imageBitmap_.reset();
    }
  }
  UpdateSmallBitmap();
  return imageBitmap_ != nullptr;
}

void ImageViewDisplay::DrawnSize(std::int32_t& width, std::int32_t& height) const {
  const double scale = ZoomFractionOf(Geometry.ZoomFactor).ScaleFactor;
  width = RoundToInt32(Geometry.ImageWidth * scale);
  height = RoundToInt32(Geometry.ImageHeight * scale);
}

void ImageViewDisplay::UpdateSmallBitmap() {
  if (Geometry.ZoomFactor >= 100)
    smallBitmap_.reset();
  else
    RefreshSmallBitmap();
  LastZoom = Geometry.ZoomFactor;
}

void ImageViewDisplay::RefreshSmallBitmap() {
  smallBitmap_.reset();
  std::int32_t width = 0;
  std::int32_t height = 0;
  DrawnSize(width, height);
  // Less than a pixel on the screen leaves nothing to pre-shrink.
  if (!imageBitmap_ || width < 1 || height < 1) return;
  BusyPointer busy(*host_);
  auto small = MakeBitmap(width, height);
  if (!small) return;
  small->SetStretchBltMode(gdi::COLORONCOLOR);
  small->StretchDIBits(0, 0, width, height, 0, 0, Geometry.ImageWidth, Geometry.ImageHeight,
                       imageBitmap_->Rows, imageBitmap_->Info, gdi::DIB_RGB_COLORS, gdi::SRCCOPY);
  smallBitmap_ = std::move(small);
}

void ImageViewDisplay::ResizeWindow(std::int32_t clientWidth, std::int32_t clientHeight) {
  if (Closing) return;
  Geometry.Layout(clientWidth, clientHeight);
  if (clientWidth >= 1 && clientHeight >= 1) {
    if (!backing_ || backing_->Image().width() != clientWidth ||
        backing_->Image().height() != clientHeight) {
      backing_ = MakeBitmap(clientWidth, clientHeight);
    }
  } else {
    backing_.reset();
  }
  if (!ImageReady || !imageBitmap_) return;
  // The pre-shrunk picture must fit both the zoom and the image it was made from.
  std::int32_t width = 0;
  std::int32_t height = 0;
  DrawnSize(width, height);
  const bool smallFits =
      Geometry.ZoomFactor >= 100
          ? smallBitmap_ == nullptr
          : (smallBitmap_ ? smallBitmap_->Image().width() == width &&
                                smallBitmap_->Image().height() == height
                          : width < 1 || height < 1);
  if (Geometry.ZoomFactor != LastZoom || !smallFits) UpdateSmallBitmap();
}

void ImageViewDisplay::Paint(const std::function<void(gdi::DeviceContext&)>& overlays) {
  if (!backing_) return;
  gdi::DeviceContext& dc = *backing_;
  const std::int32_t w = Geometry.ClientWidth;
  const std::int32_t h = Geometry.ClientHeight;
  if (!ImageReady) {
    FillRectWorkspace(dc, w, h, 0, 0);
    return;
  }
  Geometry.SyncOrigin();
  if (imageBitmap_)
    PaintPicture(dc);
  else
    FillRectWorkspace(dc, w, h, 0, 0);
  if (overlays) overlays(dc);
}

void ImageViewDisplay::PaintPicture(gdi::DeviceContext& dc) {
  const ImageViewGeometry& g = Geometry;
  const std::int32_t w = g.ClientWidth;
  const std::int32_t h = g.ClientHeight;
  const gdi::Brush black = gdi::StockBrush(gdi::BLACK_BRUSH);
  // Black beyond the image, painted first: whatever the blit does not reach stays black.
  const auto strips = [&](double coveredWidth, double coveredHeight) {
    const std::int32_t cw = std::clamp(static_cast<std::int32_t>(std::floor(coveredWidth)), 0, w);
    const std::int32_t ch = std::clamp(static_cast<std::int32_t>(std::floor(coveredHeight)), 0, h);
    if (cw < w) dc.FillRect(gdi::Rect{cw, 0, w, h}, black);
    if (ch < h) dc.FillRect(gdi::Rect{0, ch, w, h}, black);
  };

  dc.SetStretchBltMode(gdi::COLORONCOLOR);
  if (g.ZoomFactor < 100) {
    if (!smallBitmap_) {
      strips(0, 0);
      return;
    }
    const std::int32_t sx = static_cast<std::int32_t>(g.OriginX * g.ScaleFactor);
    const std::int32_t sy = static_cast<std::int32_t>(g.OriginY * g.ScaleFactor);
    strips(smallBitmap_->Image().width() - sx, smallBitmap_->Image().height() - sy);
    dc.BitBlt(0, 0, w, h, *smallBitmap_, sx, sy, gdi::SRCCOPY);
    return;
  }
  if (g.ZoomNum < 1 || g.ZoomDen < 1) {
    strips(0, 0);
    return;
  }
  // Whole blocks of ZoomDen image pixels onto ZoomNum screen pixels, so that the
  // picture lies exactly where the overlays map image points.
  const std::int32_t blocksX = (w + g.ZoomNum - 1) / g.ZoomNum;
  const std::int32_t blocksY = (h + g.ZoomNum - 1) / g.ZoomNum;
  strips((g.ImageWidth - g.OriginX) * g.ScaleFactor, (g.ImageHeight - g.OriginY) * g.ScaleFactor);
  dc.StretchDIBits(0, 0, blocksX * g.ZoomNum, blocksY * g.ZoomNum,
                   static_cast<std::int32_t>(g.OriginX), static_cast<std::int32_t>(g.OriginY),
                   blocksX * g.ZoomDen, blocksY * g.ZoomDen, imageBitmap_->Rows, imageBitmap_->Info,
                   gdi::DIB_RGB_COLORS, gdi::SRCCOPY);
}

}  // namespace orvale
