// A Qt image plug-in of the suite's own, standing for the extra readers a desktop may
// have installed (TIFF, WebP, MNG, ...): it reads any file whose content starts with
// "ORVT" as a 64 x 64 grey picture, whatever the file is named.
#include <QImage>
#include <QImageIOHandler>
#include <QImageIOPlugin>
#include <QIODevice>

namespace {

class OrvtHandler : public QImageIOHandler {
 public:
  bool canRead() const override { return CanRead(device()); }
  bool read(QImage* image) override {
    if (!CanRead(device())) return false;
    device()->readAll();
    *image = QImage(64, 64, QImage::Format_Grayscale8);
    image->fill(77);
    return true;
  }
  static bool CanRead(QIODevice* device) { return device != nullptr && device->peek(4) == "ORVT"; }
};

}  // namespace

class OrvtPlugin : public QImageIOPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QImageIOHandlerFactoryInterface" FILE "orvt.json")

 public:
  Capabilities capabilities(QIODevice* device, const QByteArray& format) const override {
    if (format == "orvt") return CanRead;
    if (!format.isEmpty() || device == nullptr) return {};
    return OrvtHandler::CanRead(device) ? CanRead : Capabilities{};
  }
  QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override {
    auto* handler = new OrvtHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? QByteArray("orvt") : format);
    return handler;
  }
};

#include "TestImageFormatPlugin.moc"
