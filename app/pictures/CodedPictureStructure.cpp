#include "app/pictures/CodedPictureStructure.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/runtime/ByteFields.h"

namespace orvale {

namespace {

std::uint32_t ReadBE16(const std::uint8_t* p) { return (std::uint32_t{p[0]} << 8) | p[1]; }

std::uint32_t ReadBE32(const std::uint8_t* p) { return (ReadBE16(p) << 16) | ReadBE16(p + 2); }

// Start-of-frame markers: every coding but the Huffman table (C4), arithmetic
// conditioning (CC) and the reserved C8.
bool IsJpegFrameMarker(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool IsRestartMarker(std::uint8_t marker) { return marker >= 0xD0 && marker <= 0xD7; }

// What a frame header says about the work and memory of its decoder: whether it is
// progressive, and each component's identifier and sampling factors.
struct JpegFrame {
  struct Component {
    std::uint8_t id = 0;
    int h = 1, v = 1;  // sampling factors
  };
  bool progressive = false;
  bool acceptable = false;
  std::vector<Component> components;

  static JpegFrame Read(std::uint8_t marker, std::span<const std::uint8_t> body) {
    JpegFrame frame;
    frame.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    if (body.size() < 6) return frame;
    const std::size_t count = std::min<std::size_t>(body[5], (body.size() - 6) / 3);
    // libjpeg decodes 8-bit samples of one, three or four components, and a frame
    // header of just their length.
    frame.acceptable = body[0] == 8 && (count == 1 || count == 3 || count == 4) && body.size() == 6 + 3 * count;
    for (std::size_t c = 0; c < count; ++c) {
      const std::uint8_t factors = body[6 + 3 * c + 1];
      frame.components.push_back({body[6 + 3 * c], std::max(1, factors >> 4), std::max(1, factors & 0x0F)});
    }
    return frame;
  }

  // The blocks of the component `c`, the picture padded to whole units of the largest
  // sampling.
  std::uint64_t Blocks(const PictureSize& size, const Component& c) const {
    int hMax = 1, vMax = 1;
    for (const Component& each : components) hMax = std::max(hMax, each.h), vMax = std::max(vMax, each.v);
    const auto unitsAcross = static_cast<std::uint64_t>((size.Width + 8 * hMax - 1) / (8 * hMax));
    const auto unitsDown = static_cast<std::uint64_t>((size.Height + 8 * vMax - 1) / (8 * vMax));
    return unitsAcross * static_cast<std::uint64_t>(c.h) * unitsDown * static_cast<std::uint64_t>(c.v);
  }

  std::uint64_t AllBlocks(const PictureSize& size) const {
    std::uint64_t blocks = 0;
    for (const Component& c : components) blocks += Blocks(size, c);
    return blocks;
  }

  // The blocks a scan header (its body) covers: those of every component it names.
  std::uint64_t ScanBlocks(const PictureSize& size, std::span<const std::uint8_t> body) const {
    if (body.empty()) return 0;
    const std::size_t count = std::min<std::size_t>(body[0], (body.size() - 1) / 2);
    std::uint64_t blocks = 0;
    for (std::size_t s = 0; s < count; ++s) {
      for (const Component& c : components)
        if (c.id == body[1 + 2 * s]) blocks += Blocks(size, c);
    }
    return blocks;
  }

  // The coefficients of a block a scan decodes: all 64 in a sequential one, its band
  // (the start and end of spectral selection after the components) in a progressive one.
  std::uint64_t ScanBand(std::span<const std::uint8_t> body) const {
    if (!progressive || body.empty()) return 64;
    const std::size_t at = 1 + 2 * std::size_t{body[0]};
    if (body.size() < at + 2 || body[at] > body[at + 1] || body[at + 1] > 63) return 64;
    return std::uint64_t{body[at + 1]} - body[at] + 1;
  }

  // 64 coefficients of 2 bytes for every block of every component.
  std::uint64_t CoefficientBytes(const PictureSize& size) const { return AllBlocks(size) * 128; }
};

// The entropy-coded data of a scan from `i` on: its bytes are added to `coding`, and
// the result is the position of the 0xFF of the marker that ends it (or the end).
std::size_t WalkJpegScan(std::span<const std::uint8_t> bytes, std::size_t i, std::uint64_t& coding) {
  const std::size_t size = bytes.size();
  while (i < size) {
    // Most of a scan is data: on to its next 0xFF at once.
    const void* mark = std::memchr(bytes.data() + i, 0xFF, size - i);
    const std::size_t at = mark != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(mark) - bytes.data()) : size;
    coding += at - i;
    i = at;
    if (i >= size) return i;
    std::size_t next = i;
    while (next < size && bytes[next] == 0xFF) ++next;  // fill bytes
    if (next >= size) return next;
    if (bytes[next] == 0x00) {
      ++coding;  // a stuffed 0xFF of the data
    } else if (!IsRestartMarker(bytes[next])) {
      return i;
    }
    i = next + 1;
  }
  return i;
}

// The marker found from `i` on as libjpeg finds it between segments: stray bytes up
// to an 0xFF, then fill bytes; an 0xFF 0x00 there is no marker. None at the end.
std::optional<std::uint8_t> NextJpegMarker(std::span<const std::uint8_t> bytes, std::size_t& i) {
  const std::size_t size = bytes.size();
  for (;;) {
    while (i < size && bytes[i] != 0xFF) ++i;
    while (i < size && bytes[i] == 0xFF) ++i;
    if (i >= size) return std::nullopt;
    const std::uint8_t marker = bytes[i++];
    if (marker != 0x00) return marker;
  }
}

// The data sub-blocks of a GIF from `i` on, up to their terminator: their bytes in
// the file are added to `data`; the result is the position after them, past the end
// of `bytes` when they are cut short.
std::size_t WalkGifSubBlocks(std::span<const std::uint8_t> bytes, std::size_t i, std::uint64_t& data) {
  const std::size_t size = bytes.size();
  while (i < size) {
    const std::size_t count = bytes[i++];
    if (count == 0) return i;
    data += std::min(count, size - i);
    i += count;
  }
  return i + 1;
}

std::size_t GifColourTableBytes(std::uint8_t flags) {
  return (flags & 0x80) != 0 ? std::size_t{3} << ((flags & 7) + 1) : 0;
}

// The bit depths the PNG decoder takes for each colour type.
bool PngDepthSuitsColourType(std::uint8_t depth, std::uint8_t colourType) {
  switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
  }
}

// Whether the bytes that code no pixel, out of `walked`, pass what any file holds.
bool HoldsTooMuchMetadata(std::size_t walked, std::uint64_t pictureData) {
  return walked > pictureData && walked - pictureData > kMostPictureMetadataBytes;
}

}  // namespace

CodedPictureStructure WalkJpeg(std::span<const std::uint8_t> bytes) {
  CodedPictureStructure out;
  JpegFrame frame;
  std::uint64_t scanBlocks = 0;
  std::uint64_t scanCoefficients = 0;  // blocks times the coefficients decoded in each
  const auto finish = [&](bool complete) {
    out.Complete = complete;
    if (out.Size && (frame.progressive || out.Scans > 1)) out.KeptCoefficientBytes = frame.CoefficientBytes(*out.Size);
    if (const std::uint64_t all = out.Size ? frame.AllBlocks(*out.Size) : 0; all > 0) {
      out.ScanPasses = (scanBlocks + all - 1) / all;
      out.CoefficientSixtyFourths = (scanCoefficients + all - 1) / all;
    }
    return out;
  };
  const std::size_t size = bytes.size();
  if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return out;
  std::size_t i = 2;
  for (;;) {
    if (HoldsTooMuchMetadata(i, out.CodingBytes)) {
      out.Refused = true;
      return finish(false);
    }
    const std::optional<std::uint8_t> marker = NextJpegMarker(bytes, i);
    if (!marker) return finish(false);
    if (*marker == 0xD9) return finish(true);
    if (*marker == 0x01 || IsRestartMarker(*marker)) continue;  // no length follows
    if (*marker == 0xD8) return finish(false);  // a second start of image, which libjpeg refuses
    if (size - i < 2 || ReadBE16(&bytes[i]) > size - i) {
      out.CutShort = true;
      return finish(false);
    }
    const std::size_t length = ReadBE16(&bytes[i]);
    if (length < 2) return finish(false);
    if (IsJpegFrameMarker(*marker)) {
      // A second frame header is refused by libjpeg as well.
      if (out.Size || length < 8) return finish(false);
      out.Size = PictureSize{ReadBE16(&bytes[i + 5]), ReadBE16(&bytes[i + 3])};  // height first
      frame = JpegFrame::Read(*marker, bytes.subspan(i + 2, length - 2));
      out.Components = static_cast<int>(frame.components.size());
      if (!frame.acceptable) {
        out.Refused = true;
        return finish(false);
      }
    }
    if (*marker == 0xDA && out.Size) {
      const std::span<const std::uint8_t> body = bytes.subspan(i + 2, length - 2);
      const std::uint64_t blocks = frame.ScanBlocks(*out.Size, body);
      scanBlocks += blocks;
      scanCoefficients += blocks * frame.ScanBand(body);
    }
    i += length;
    if (*marker == 0xDA) {
      ++out.Scans;
      i = WalkJpegScan(bytes, i, out.CodingBytes);
    }
  }
}

CodedPictureStructure WalkPng(std::span<const std::uint8_t> bytes) {
  static constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  CodedPictureStructure out;
  const std::size_t size = bytes.size();
  if (size < kSignature.size() || !std::equal(kSignature.begin(), kSignature.end(), bytes.begin())) return out;
  std::size_t i = kSignature.size();
  bool first = true;
  while (size - i >= 8) {
    if (HoldsTooMuchMetadata(i, out.CodingBytes)) {
      out.Refused = true;
      return out;
    }
    const std::size_t length = ReadBE32(&bytes[i]);
    const std::uint8_t* type = &bytes[i + 4];
    const std::size_t start = i + 8;
    const std::size_t present = std::min(length, size - start);
    const auto is = [type](const char* name) { return std::equal(type, type + 4, name); };
    // The decoder takes the header only as the first chunk, and only values it knows:
    // a depth its colour type allows, the one compression and filter method, no
    // interlacing or Adam7.
    if (first && is("IHDR") && present >= 13) {
      out.Size = PictureSize{ReadBE32(&bytes[start]), ReadBE32(&bytes[start + 4])};
      const std::uint8_t* header = &bytes[start];
      if (length != 13 || !PngDepthSuitsColourType(header[8], header[9]) || header[10] != 0 || header[11] != 0 ||
          header[12] > 1) {
        out.Refused = true;
        return out;
      }
    }
    first = false;
    if (is("IDAT")) out.CodingBytes += present;
    if (is("IEND")) {
      out.Complete = true;
      return out;
    }
    if (length > size - start || size - start - length < 4) {  // its data or CRC cut off
      out.CutShort = true;
      return out;
    }
    i = start + length + 4;  // the data and its CRC
  }
  if (i < size) out.CutShort = true;  // a chunk's length or type cut off
  return out;
}

CodedPictureStructure WalkGif(std::span<const std::uint8_t> bytes) {
  CodedPictureStructure out;
  const std::size_t size = bytes.size();
  constexpr std::size_t kScreenEnd = 13;  // signature, version and logical screen
  if (size < kScreenEnd || !std::equal(bytes.begin(), bytes.begin() + 3, "GIF")) return out;
  const std::int64_t screenWidth = ReadLE16(&bytes[6]);
  const std::int64_t screenHeight = ReadLE16(&bytes[8]);
  out.Size = PictureSize{screenWidth, screenHeight};
  std::size_t i = kScreenEnd + GifColourTableBytes(bytes[10]);
  std::uint64_t imageData = 0;  // of every image; only the first one's codes a pixel
  bool first = true;
  while (i < size) {
    if (HoldsTooMuchMetadata(i, imageData)) {
      out.Refused = true;
      return out;
    }
    const std::uint8_t block = bytes[i++];
    if (block == 0x3B) {  // trailer
      out.Complete = true;
      return out;
    }
    if (block == 0x21) {  // extension: its label, then sub-blocks
      std::uint64_t extension = 0;
      i = WalkGifSubBlocks(bytes, i + 1, extension);
      continue;
    }
    if (block != 0x2C) return out;
    if (size - i < 9) {
      out.CutShort = true;
      return out;
    }
    const std::int64_t frameWidth = ReadLE16(&bytes[i + 4]);
    const std::int64_t frameHeight = ReadLE16(&bytes[i + 6]);
    if (first) {
      const std::int64_t right = std::int64_t{ReadLE16(&bytes[i])} + frameWidth;
      const std::int64_t bottom = std::int64_t{ReadLE16(&bytes[i + 2])} + frameHeight;
      out.Size = PictureSize{std::max(screenWidth, right), std::max(screenHeight, bottom)};
    }
    i += 9 + GifColourTableBytes(bytes[i + 8]) + 1;  // descriptor, colour table, code size
    std::uint64_t data = 0;
    i = WalkGifSubBlocks(bytes, i, data);
    imageData += data;
    // Codes past what its pixels can take, like the images never decoded, code nothing.
    if (first) out.CodingBytes = std::min(data, static_cast<std::uint64_t>(frameWidth * frameHeight) * kMostGifBytesPerPixel);
    first = false;
  }
  if (i > size) out.CutShort = true;
  return out;
}

}  // namespace orvale
