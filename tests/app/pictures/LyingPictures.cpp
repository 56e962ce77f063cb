#include "LyingPictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace orvale::testing {

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes BE16(int v) { return {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}; }
Bytes BE32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v)};
}
Bytes LE16(int v) { return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}; }

std::uint32_t Crc32(const Bytes& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

Bytes PngChunk(const char* type, const Bytes& data) {
  Bytes typed(type, type + 4);
  Append(typed, data);
  Bytes chunk = BE32(static_cast<std::uint32_t>(data.size()));
  Append(chunk, typed);
  Append(chunk, BE32(Crc32(typed)));
  return chunk;
}

}  // namespace

std::vector<std::uint8_t> JpegCodedByQt(const QImage& image, bool progressive, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setProgressiveScanWrite(progressive);
  writer.setQuality(quality);
  if (!writer.write(image)) throw std::runtime_error("no JPEG writer");
  return {bytes.begin(), bytes.end()};
}

namespace {

// A `side` x `side` picture as Qt's JPEG writer codes it: grey or colour, baseline or
// progressive.
Bytes QtJpeg(int side, bool colour, bool progressive) {
  QImage image(side, side, colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      if (colour) {
        image.setPixel(x, y, qRgb(x * 30 % 256, y * 30 % 256, 90));
      } else {
        image.scanLine(y)[x] = static_cast<std::uint8_t>(x * 30 % 256);
      }
    }
  return JpegCodedByQt(image, progressive);
}

// An 8 x 8 picture: grey baseline, or progressive colour.
Bytes SmallJpeg(bool progressiveColour) { return QtJpeg(8, progressiveColour, progressiveColour); }

struct JpegParts {
  Bytes frame;   // the frame header segment
  Bytes tables;  // every other segment before the first scan, but the APPn
  Bytes scans;   // from the first scan to the end
};

JpegParts Split(const Bytes& jpeg) {
  JpegParts parts;
  std::size_t i = 2;
  while (i + 4 <= jpeg.size()) {
    const std::uint8_t marker = jpeg[i + 1];
    if (marker == 0xDA) {
      parts.scans.assign(jpeg.begin() + static_cast<std::ptrdiff_t>(i), jpeg.end());
      break;
    }
    const std::size_t length = (std::size_t{jpeg[i + 2]} << 8) | jpeg[i + 3];
    const Bytes segment(jpeg.begin() + static_cast<std::ptrdiff_t>(i),
                        jpeg.begin() + static_cast<std::ptrdiff_t>(i + 2 + length));
    if (marker == 0xC0 || marker == 0xC2) {
      parts.frame = segment;
    } else if (marker < 0xE0 || marker > 0xEF) {
      Append(parts.tables, segment);
    }
    i += 2 + length;
  }
  return parts;
}

Bytes Resized(Bytes frame, int width, int height) {
  frame[5] = static_cast<std::uint8_t>(height >> 8), frame[6] = static_cast<std::uint8_t>(height);
  frame[7] = static_cast<std::uint8_t>(width >> 8), frame[8] = static_cast<std::uint8_t>(width);
  return frame;
}

Bytes Comment(const Bytes& text) {
  Bytes segment{0xFF, 0xFE};
  Append(segment, BE16(static_cast<int>(text.size()) + 2));
  Append(segment, text);
  return segment;
}

}  // namespace

std::vector<std::uint8_t> GifWithScreen(int width, int height) {
  Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
  Append(gif, LE16(width));
  Append(gif, LE16(height));
  Append(gif, {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF});  // a colour table of two entries
  Append(gif, {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0});         // a 1 x 1 image at 0, 0
  Append(gif, {2, 2, 0x44, 0x01, 0});                      // its codes: clear, 0, end
  gif.push_back(0x3B);
  return gif;
}

namespace {

Bytes PngOfRows(int width, int height, int bitDepth, int colourType, int interlace, const QByteArray& raw, int level) {
  const QByteArray zlib = qCompress(raw, level).mid(4);  // without Qt's length prefix
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header = BE32(static_cast<std::uint32_t>(width));
  Append(header, BE32(static_cast<std::uint32_t>(height)));
  Append(header, {static_cast<std::uint8_t>(bitDepth), static_cast<std::uint8_t>(colourType), 0, 0,
                  static_cast<std::uint8_t>(interlace)});
  Append(png, PngChunk("IHDR", header));
  Append(png, PngChunk("IDAT", Bytes(zlib.begin(), zlib.end())));
  Append(png, PngChunk("IEND", {}));
  return png;
}

QByteArray BlankRows(int width, int height, int bitDepth, bool withColourAndAlpha) {
  const std::size_t samples = withColourAndAlpha ? 4 : 1;
  const std::size_t rowBytes = 1 + (static_cast<std::size_t>(width) * samples * bitDepth + 7) / 8;  // with its filter byte
  return QByteArray(static_cast<qsizetype>(rowBytes * static_cast<std::size_t>(height)), '\0');
}

}  // namespace

std::vector<std::uint8_t> BlankPng(int width, int height, int bitDepth, bool withColourAndAlpha) {
  return PngOfRows(width, height, bitDepth, withColourAndAlpha ? 6 : 0, 0,
                   BlankRows(width, height, bitDepth, withColourAndAlpha), 9);
}

std::vector<std::uint8_t> StoredBlankPng(int width, int height, int bitDepth, bool withColourAndAlpha) {
  return PngOfRows(width, height, bitDepth, withColourAndAlpha ? 6 : 0, 0,
                   BlankRows(width, height, bitDepth, withColourAndAlpha), 0);
}

std::vector<std::uint8_t> PngWhoseStreamGoesOn(int width, int height, std::size_t extra) {
  // Deflated a piece at a time: the zeros past the rows may run to gigabytes.
  z_stream z{};
  if (deflateInit(&z, 1) != Z_OK) throw std::runtime_error("no deflate");
  Bytes zlib;
  std::vector<Bytef> out(1 << 16);
  const std::vector<Bytef> zeros(1 << 20, 0);
  const auto feed = [&](std::size_t bytes, int flush) {
    do {
      const std::size_t piece = std::min(bytes, zeros.size());
      z.next_in = const_cast<Bytef*>(zeros.data());
      z.avail_in = static_cast<uInt>(piece);
      bytes -= piece;
      const int last = bytes == 0 ? flush : Z_NO_FLUSH;
      do {
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, last);
        zlib.insert(zlib.end(), out.data(), out.data() + (out.size() - z.avail_out));
      } while (z.avail_out == 0);
    } while (bytes > 0);
  };
  const std::size_t rows = static_cast<std::size_t>(height) * (1 + static_cast<std::size_t>(width));
  feed(rows, Z_FULL_FLUSH);
  feed(extra, Z_FINISH);
  deflateEnd(&z);
  Bytes png = PngHeader(width, height, 8, 0);
  Append(png, PngChunk("IDAT", zlib));
  Append(png, PngChunk("IEND", {}));
  return png;
}

std::vector<std::uint8_t> InterlacedGreyPng(int width, int height) {
  struct Pass {
    int x0, y0, dx, dy;
  };
  static constexpr Pass kPasses[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                     {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  QByteArray raw;
  for (const Pass& p : kPasses) {
    if (p.x0 >= width || p.y0 >= height) continue;  // an empty pass has no rows
    for (int y = p.y0; y < height; y += p.dy) {
      raw.append('\0');  // filter: none
      for (int x = p.x0; x < width; x += p.dx) raw.append(static_cast<char>((7 * x + 13 * y) % 256));
    }
  }
  return PngOfRows(width, height, 8, 0, 1, raw, 9);
}

std::vector<std::uint8_t> WithPngChunk(std::vector<std::uint8_t> png, const char* type,
                                       const std::vector<std::uint8_t>& data) {
  const Bytes chunk = PngChunk(type, data);
  png.insert(png.begin() + 8 + 25, chunk.begin(), chunk.end());
  return png;
}

std::vector<std::uint8_t> PngHeader(int width, int height, int bitDepth, int colourType) {
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header = BE32(static_cast<std::uint32_t>(width));
  Append(header, BE32(static_cast<std::uint32_t>(height)));
  Append(header, {static_cast<std::uint8_t>(bitDepth), static_cast<std::uint8_t>(colourType), 0, 0, 0});
  Append(png, PngChunk("IHDR", header));
  return png;
}

std::vector<std::uint8_t> PngDeclaringAChunkOf(const char* type, std::uint32_t length) {
  Bytes png = PngHeader(64, 64, 8, 0);
  Append(png, BE32(length));
  Append(png, Bytes(type, type + 4));
  Append(png, {'k', 0, 'v'});
  return png;
}

std::vector<std::uint8_t> GifWithIdleCodes(int width, int height, std::size_t clearCodes, bool inASecondFrame) {
  // Clear codes of three bits (code size 2) fill three bytes each eight of them.
  Bytes codes;
  for (std::size_t i = 0; i < clearCodes; i += 3) Append(codes, {0x24, 0x49, 0x92});
  const auto frame = [](const Bytes& lead) {
    Bytes image{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2};  // a 1 x 1 image at 0, 0; code size 2
    Bytes data = lead;
    Append(data, {0x44, 0x01});  // clear, 0, end
    for (std::size_t at = 0; at < data.size(); at += 255) {
      const std::size_t count = std::min<std::size_t>(255, data.size() - at);
      image.push_back(static_cast<std::uint8_t>(count));
      image.insert(image.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + count));
    }
    image.push_back(0);
    return image;
  };
  Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
  Append(gif, LE16(width));
  Append(gif, LE16(height));
  Append(gif, {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF});  // a colour table of two entries
  Append(gif, frame(inASecondFrame ? Bytes{} : codes));
  if (inASecondFrame) Append(gif, frame(codes));
  gif.push_back(0x3B);
  return gif;
}

std::vector<std::uint8_t> GifWithComment(int width, int height, std::size_t bytes) {
  Bytes gif = GifWithScreen(width, height);
  Bytes comment{0x21, 0xFE};
  for (std::size_t left = bytes; left > 0;) {
    const std::size_t count = std::min<std::size_t>(255, left);
    comment.push_back(static_cast<std::uint8_t>(count));
    comment.resize(comment.size() + count, 'c');
    left -= count;
  }
  comment.push_back(0);
  gif.insert(gif.begin() + 13 + 6, comment.begin(), comment.end());  // after the screen and colour table
  return gif;
}

std::vector<std::uint8_t> WithJpegComments(std::vector<std::uint8_t> jpeg, std::size_t bytes) {
  Bytes comments;
  const Bytes comment = Comment(Bytes(65000, 'x'));
  while (comments.size() < bytes) Append(comments, comment);
  // After the frame header, where no room left for metadata before it limits them.
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && jpeg[at + 1] != 0xC0 && jpeg[at + 1] != 0xC2)
    at += 2 + ((std::size_t{jpeg[at + 2]} << 8) | jpeg[at + 3]);
  at += 2 + ((std::size_t{jpeg[at + 2]} << 8) | jpeg[at + 3]);
  jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(at), comments.begin(), comments.end());
  return jpeg;
}

std::vector<std::uint8_t> JpegFrameOfComponents(int width, int height, int components) {
  Bytes jpeg{0xFF, 0xD8, 0xFF, 0xC0};
  Append(jpeg, BE16(8 + 3 * components));
  jpeg.push_back(8);
  Append(jpeg, BE16(height));
  Append(jpeg, BE16(width));
  jpeg.push_back(static_cast<std::uint8_t>(components));
  for (int c = 0; c < components; ++c) Append(jpeg, {static_cast<std::uint8_t>(c + 1), 0x11, 0});
  return jpeg;
}

std::vector<std::uint8_t> JpegWithDecoyFrame(int width, int height, bool progressiveColour) {
  const JpegParts parts = Split(SmallJpeg(progressiveColour));
  // The two stray bytes read as a length land a reader that takes one after TEM on
  // the decoy.
  Bytes jpeg{0xFF, 0xD8, 0xFF, 0x01, 0x00, static_cast<std::uint8_t>(parts.frame.size() + 6)};
  Append(jpeg, Resized(parts.frame, width, height));
  Append(jpeg, Comment(parts.frame));
  Append(jpeg, parts.tables);
  Append(jpeg, parts.scans);
  return jpeg;
}

std::vector<std::uint8_t> JpegPaddedWithComments(int width, int height, std::size_t size) {
  const JpegParts parts = Split(SmallJpeg(true));
  Bytes jpeg{0xFF, 0xD8};
  Append(jpeg, Resized(parts.frame, width, height));
  Append(jpeg, parts.tables);
  const Bytes padding = Comment(Bytes(65000, 'x'));
  while (jpeg.size() + parts.scans.size() < size) Append(jpeg, padding);
  Append(jpeg, parts.scans);
  return jpeg;
}

std::vector<std::uint8_t> JpegClaiming(int width, int height) {
  const JpegParts parts = Split(QtJpeg(16, false, false));
  Bytes jpeg{0xFF, 0xD8};
  Append(jpeg, Resized(parts.frame, width, height));
  Append(jpeg, parts.tables);
  Append(jpeg, parts.scans);
  return jpeg;
}

std::vector<std::uint8_t> ProgressiveJpegOfScans(int scans) {
  const Bytes jpeg = QtJpeg(16, false, true);
  // The scans start at markers FF DA; the last one runs up to the end-of-image marker.
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) starts.push_back(i);
  if (starts.empty() || static_cast<int>(starts.size()) > scans) throw std::runtime_error("unexpected JPEG");
  const Bytes last(jpeg.begin() + static_cast<std::ptrdiff_t>(starts.back()), jpeg.end() - 2);
  Bytes out(jpeg.begin(), jpeg.end() - 2);
  for (int n = static_cast<int>(starts.size()); n < scans; ++n) Append(out, last);
  Append(out, {0xFF, 0xD9});
  return out;
}

std::vector<std::uint8_t> CmykJpegClaiming(int width, int height) {
  const JpegParts parts = Split(SmallJpeg(true));
  Bytes frame{0xFF, 0xC2, 0, 8 + 4 * 3, 8};  // progressive, 8 bits
  Append(frame, BE16(height));
  Append(frame, BE16(width));
  frame.push_back(4);
  for (std::uint8_t id = 1; id <= 4; ++id) Append(frame, {id, 0x11, 0});  // 1 x 1 sampling
  Bytes jpeg{0xFF, 0xD8};
  Append(jpeg, frame);
  Append(jpeg, parts.tables);
  Append(jpeg, parts.scans);
  return jpeg;
}

std::vector<std::uint8_t> Rle8PaintingASixteenth(int width, int height) {
  Bytes code;
  int row = 0;
  while (row < height) {
    if (row % 16 == 0) {
      for (int left = width; left > 0; left -= 255) Append(code, {static_cast<std::uint8_t>(std::min(left, 255)), 7});
      Append(code, {0, 0});
      ++row;
    } else {
      const int rows = std::min(15, height - row);
      Append(code, {0, 2, 0, static_cast<std::uint8_t>(rows)});
      row += rows;
    }
  }
  Append(code, {0, 1});
  return code;
}

}  // namespace orvale::testing
