#include "app/pictures/DecoderAllocationLimit.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QLoggingCategory>

#include "app/pictures/PictureBudget.h"

namespace orvale {
namespace {

QByteArray Png(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(qRgb(10, 20, 30));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "png"));
  return bytes;
}

// Whether the limit stopped the read of `bytes`, as the reader answers it.
bool StoppedByTheLimit(QByteArray bytes, const DecoderAllocationLimit& limit) {
  QBuffer device(&bytes);
  device.open(QIODevice::ReadOnly);
  QImageReader reader(&device, "png");
  const std::int64_t needed = DecoderAllocationLimit::BytesNeeded(reader);
  QImage image;
  EXPECT_FALSE(reader.read(&image));
  return limit.Stopped(needed);
}

void QuietHandler(QtMsgType, const QMessageLogContext&, const QString&) {}

// Qt's readers say only that they could not read the data when the limit stops them,
// and a log a desktop may silence: the limit's refusal is told from the size and pixel
// format the reader gives, and what the process had set is left as it was found.
TEST(DecoderAllocationLimitTest, TellsItsRefusalFromTheReadersAnswerWithItsLogOff) {
  QLoggingCategory::setFilterRules("qt.gui.imageio*=false");
  const QtMessageHandler found = qInstallMessageHandler(&QuietHandler);
  const int processLimit = QImageReader::allocationLimit();
  QImageReader::setAllocationLimit(77);
  {
    DecoderAllocationLimit limit(std::int64_t{1} << 20);  // 8 MB at 8 bytes a pixel
    EXPECT_EQ(QImageReader::allocationLimit(), static_cast<int>(kMostDecodedBytesPerPixel));
    EXPECT_TRUE(StoppedByTheLimit(Png(2000, 2000), limit));  // 16 MB as Qt counts it
    QByteArray cut = Png(200, 200);
    cut.truncate(cut.size() / 2);
    EXPECT_FALSE(StoppedByTheLimit(cut, limit));  // damaged, not stopped
  }
  EXPECT_EQ(QImageReader::allocationLimit(), 77);
  EXPECT_EQ(qInstallMessageHandler(found), &QuietHandler);
  QImageReader::setAllocationLimit(processLimit);
  QLoggingCategory::setFilterRules("");
}

}  // namespace
}  // namespace orvale
