#include "platform/ui/QtClipboardService.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QThread>

#include "platform/runtime/ByteFields.h"

namespace orvale {

namespace {

constexpr char kBmpType[] = "image/bmp";
constexpr char kPaletteType[] = "application/x-halvern-palette";
constexpr std::size_t kFileHeaderSize = 14;

// The clipboard, when this thread may use it.
QClipboard* UsableClipboard() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app == nullptr || QThread::currentThread() != app->thread()) return nullptr;
  return QGuiApplication::clipboard();
}

QByteArray BmpFile(std::span<const std::uint8_t> packedDib, std::size_t bitsOffset) {
  QByteArray file(static_cast<qsizetype>(kFileHeaderSize + packedDib.size()), '\0');
  auto* p = reinterpret_cast<std::uint8_t*>(file.data());
  p[0] = 'B';
  p[1] = 'M';
  WriteLE32(p + 2, static_cast<std::uint32_t>(file.size()));
  WriteLE32(p + 10, static_cast<std::uint32_t>(kFileHeaderSize + bitsOffset));
  std::copy(packedDib.begin(), packedDib.end(), p + kFileHeaderSize);
  return file;
}

}  // namespace

bool QtClipboardService::PutDib(std::span<const std::uint8_t> packedDib,
                                std::span<const gdi::PaletteEntry> palette) {
  QClipboard* clipboard = UsableClipboard();
  std::size_t bitsOffset = 0;
  if (clipboard == nullptr || !IsWholePackedDib(packedDib, bitsOffset)) return false;
  const QByteArray bmp = BmpFile(packedDib, bitsOffset);
  const QImage image = QImage::fromData(bmp, "BMP");
  if (image.isNull()) return false;
  auto mime = std::make_unique<QMimeData>();
  mime->setImageData(image);
  mime->setData(kBmpType, bmp);
  if (!palette.empty()) {
    QByteArray entries(static_cast<qsizetype>(palette.size() * 4), '\0');
    for (std::size_t i = 0; i < palette.size(); ++i) {
      entries[static_cast<qsizetype>(i * 4)] = static_cast<char>(palette[i].peRed);
      entries[static_cast<qsizetype>(i * 4 + 1)] = static_cast<char>(palette[i].peGreen);
      entries[static_cast<qsizetype>(i * 4 + 2)] = static_cast<char>(palette[i].peBlue);
      entries[static_cast<qsizetype>(i * 4 + 3)] = static_cast<char>(palette[i].peFlags);
    }
    mime->setData(kPaletteType, entries);
  }
  clipboard->setMimeData(mime.release());  // the clipboard owns it now
  return true;
}

std::optional<std::vector<std::uint8_t>> QtClipboardService::GetDib() const {
  QClipboard* clipboard = UsableClipboard();
  const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
  if (mime == nullptr) return std::nullopt;
  QByteArray bmp = mime->data(kBmpType);
  if (bmp.size() <= static_cast<qsizetype>(kFileHeaderSize) && mime->hasImage()) {
    // An image another program put there: Qt writes it as a BMP file.
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    qvariant_cast<QImage>(mime->imageData()).save(&buffer, "BMP");
  }
  if (bmp.size() <= static_cast<qsizetype>(kFileHeaderSize)) return std::nullopt;
  const auto* p = reinterpret_cast<const std::uint8_t*>(bmp.constData());
  return std::vector<std::uint8_t>(p + kFileHeaderSize, p + bmp.size());
}

std::vector<gdi::PaletteEntry> QtClipboardService::GetPalette() const {
  QClipboard* clipboard = UsableClipboard();
  const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
  std::vector<gdi::PaletteEntry> palette;
  if (mime == nullptr) return palette;
  const QByteArray entries = mime->data(kPaletteType);
  for (qsizetype i = 0; i + 3 < entries.size(); i += 4) {
    palette.push_back({static_cast<std::uint8_t>(entries[i]),
                       static_cast<std::uint8_t>(entries[i + 1]),
                       static_cast<std::uint8_t>(entries[i + 2]),
                       static_cast<std::uint8_t>(entries[i + 3])});
  }
  return palette;
}

}  // namespace orvale
