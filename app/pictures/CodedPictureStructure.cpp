#include "app/pictures/CodedPictureStructure.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <utility>
#include <variant>
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

// The entropy-coded data of a scan from `i` on, its bytes added to `coding`: true with
// `i` at the 0xFF of the marker that ends it, false with `i` where the walk goes on
// when `bytes` end first.
bool WalkJpegScan(std::span<const std::uint8_t> bytes, std::size_t& i, std::uint64_t& coding) {
  const std::size_t size = bytes.size();
  while (i < size) {
    // Most of a scan is data: on to its next 0xFF at once.
    const void* mark = std::memchr(bytes.data() + i, 0xFF, size - i);
    const std::size_t at = mark != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(mark) - bytes.data()) : size;
    coding += at - i;
    i = at;
    if (i >= size) return false;
    std::size_t next = i;
    while (next < size && bytes[next] == 0xFF) ++next;  // fill bytes
    if (next >= size) return false;  // what the 0xFF starts is still to come
    if (bytes[next] == 0x00) {
      ++coding;  // a stuffed 0xFF of the data
    } else if (!IsRestartMarker(bytes[next])) {
      return true;
    }
    i = next + 1;
  }
  return false;
}

// The marker found from `i` on as libjpeg finds it between segments: stray bytes up
// to an 0xFF, then fill bytes; an 0xFF 0x00 there is no marker. None when `bytes` end
// first, with `i` at the fill bytes they end in.
std::optional<std::uint8_t> NextJpegMarker(std::span<const std::uint8_t> bytes, std::size_t& i) {
  const std::size_t size = bytes.size();
  for (;;) {
    while (i < size && bytes[i] != 0xFF) ++i;
    const std::size_t fill = i;
    while (i < size && bytes[i] == 0xFF) ++i;
    if (i >= size) {
      i = fill;
      return std::nullopt;
    }
    const std::uint8_t marker = bytes[i++];
    if (marker != 0x00) return marker;
  }
}

// The data sub-blocks of a GIF from `i` on, their bytes added to `data`: true with `i`
// past their terminator, false with `i` at the sub-block that `bytes` end in.
bool WalkGifSubBlocks(std::span<const std::uint8_t> bytes, std::size_t& i, std::uint64_t& data) {
  const std::size_t size = bytes.size();
  while (i < size) {
    const std::size_t count = bytes[i];
    if (count == 0) {
      ++i;
      return true;
    }
    if (count >= size - i) return false;
    data += count;
    i += 1 + count;
  }
  return false;
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

// What every walk that goes on as the bytes arrive keeps: the structure so far, and
// whether the walk is over. `Format` walks its own segments, chunks or blocks, one a
// Step, false when the bytes end first or the walk is over.
template <class Format>
class ResumableWalk {
 public:
  CodedPictureStructure Continue(std::span<const std::uint8_t> bytes) {
    Format& format = static_cast<Format&>(*this);
    out_.CutShort = false;
    if (format.Started(bytes)) {
      while (!ended_ && format.Step(bytes)) {
      }
    }
    return format.Result();
  }

 protected:
  bool Started(std::span<const std::uint8_t>) { return true; }
  CodedPictureStructure Result() const { return out_; }
  bool End(bool complete, bool refused = false) {
    out_.Complete = complete;
    out_.Refused = refused;
    ended_ = true;
    return false;
  }

  CodedPictureStructure out_;
  bool ended_ = false;
};

// Walks a JPEG on as its bytes arrive.
class JpegWalk : public ResumableWalk<JpegWalk> {
  friend ResumableWalk;

  // One segment or scan; false when `bytes` end first or the walk is over.
  bool Step(std::span<const std::uint8_t> bytes) {
    const std::size_t size = bytes.size();
    if (inScan_) {
      if (!WalkJpegScan(bytes, at_, out_.CodingBytes)) return false;
      inScan_ = false;
    }
    if (HoldsTooMuchMetadata(at_, out_.CodingBytes)) return End(false, true);
    std::size_t i = at_;
    const std::optional<std::uint8_t> marker = NextJpegMarker(bytes, i);
    if (!marker) {
      at_ = i;  // stray bytes passed over for good
      return false;
    }
    if (*marker == 0xD9) return End(true);
    if (*marker == 0x01 || IsRestartMarker(*marker)) {  // no length follows
      at_ = i;
      return true;
    }
    if (*marker == 0xD8) return End(false);  // a second start of image, which libjpeg refuses
    if (size - i < 2 || ReadBE16(&bytes[i]) > size - i) {
      out_.CutShort = true;
      return false;
    }
    const std::size_t length = ReadBE16(&bytes[i]);
    if (length < 2) return End(false);
    if (IsJpegFrameMarker(*marker)) {
      // A second frame header is refused by libjpeg as well.
      if (out_.Size || length < 8) return End(false);
      out_.Size = PictureSize{ReadBE16(&bytes[i + 5]), ReadBE16(&bytes[i + 3])};  // height first
      frame_ = JpegFrame::Read(*marker, bytes.subspan(i + 2, length - 2));
      out_.Components = static_cast<int>(frame_.components.size());
      if (!frame_.acceptable) return End(false, true);
    }
    if (*marker == 0xDA && out_.Size) {
      const std::span<const std::uint8_t> body = bytes.subspan(i + 2, length - 2);
      const std::uint64_t blocks = frame_.ScanBlocks(*out_.Size, body);
      scanBlocks_ += blocks;
      scanCoefficients_ += blocks * frame_.ScanBand(body);
    }
    at_ = i + length;
    if (*marker == 0xDA) {
      ++out_.Scans;
      inScan_ = true;
    }
    return true;
  }

  CodedPictureStructure Result() const {
    CodedPictureStructure out = out_;
    if (out.Size && (frame_.progressive || out.Scans > 1)) out.KeptCoefficientBytes = frame_.CoefficientBytes(*out.Size);
    if (const std::uint64_t all = out.Size ? frame_.AllBlocks(*out.Size) : 0; all > 0) {
      out.ScanPasses = (scanBlocks_ + all - 1) / all;
      out.CoefficientSixtyFourths = (scanCoefficients_ + all - 1) / all;
    }
    return out;
  }

  JpegFrame frame_;
  std::uint64_t scanBlocks_ = 0;
  std::uint64_t scanCoefficients_ = 0;  // blocks times the coefficients decoded in each
  std::size_t at_ = 2;                  // after the start of image
  bool inScan_ = false;
};

// Walks a PNG on as its bytes arrive, chunk by chunk.
class PngWalk : public ResumableWalk<PngWalk> {
  friend ResumableWalk;

  bool Step(std::span<const std::uint8_t> bytes) {
    const std::size_t size = bytes.size();
    if (at_ > size || size - at_ < 8) {
      out_.CutShort = at_ < size;  // a chunk's length or type cut off
      return false;
    }
    const std::size_t length = ReadBE32(&bytes[at_]);
    const std::uint8_t* type = &bytes[at_ + 4];
    const std::size_t start = at_ + 8;
    const auto is = [type](const char* name) { return std::equal(type, type + 4, name); };
    // A chunk that codes no pixel is judged by the length it declares, before it is
    // read: metadata past what any file holds is damage.
    if (!is("IDAT") && HoldsTooMuchMetadata(start + length + 4, out_.CodingBytes)) return End(false, true);
    if (length > size - start || size - start - length < 4) {  // its data or CRC still to come
      out_.CutShort = true;
      return false;
    }
    // The decoder takes the header only as the first chunk, and only values it knows:
    // a depth its colour type allows, the one compression and filter method, no
    // interlacing or Adam7.
    if (first_ && is("IHDR") && length >= 13) {
      const std::uint8_t* header = &bytes[start];
      out_.Size = PictureSize{ReadBE32(header), ReadBE32(header + 4)};
      if (length != 13 || !PngDepthSuitsColourType(header[8], header[9]) || header[10] != 0 || header[11] != 0 ||
          header[12] > 1) {
        return End(false, true);
      }
    }
    first_ = false;
    if (is("IDAT")) out_.CodingBytes += length;
    if (is("IEND")) return End(true);
    at_ = start + length + 4;  // the data and its CRC
    return true;
  }

  std::size_t at_ = 8;  // after the signature
  bool first_ = true;
};

// Walks a GIF on as its bytes arrive, block by block.
class GifWalk : public ResumableWalk<GifWalk> {
  friend ResumableWalk;

  // The logical screen, once its bytes are there.
  bool Started(std::span<const std::uint8_t> bytes) {
    if (started_) return true;
    constexpr std::size_t kScreenEnd = 13;  // signature, version and logical screen
    if (bytes.size() < kScreenEnd) return false;
    screenWidth_ = ReadLE16(&bytes[6]);
    screenHeight_ = ReadLE16(&bytes[8]);
    out_.Size = PictureSize{screenWidth_, screenHeight_};
    at_ = kScreenEnd + GifColourTableBytes(bytes[10]);
    started_ = true;
    return true;
  }

  bool Step(std::span<const std::uint8_t> bytes) {
    const std::size_t size = bytes.size();
    if (inImage_) {
      std::uint64_t data = 0;
      const bool whole = WalkGifSubBlocks(bytes, at_, data);
      imageData_ += data;
      if (images_ == 1) firstImageData_ += data;
      if (!whole) {
        out_.CutShort = true;
        return false;
      }
      inImage_ = false;
      // Codes past what its pixels can take, like the images never decoded, code nothing.
      if (images_ == 1) out_.CodingBytes = std::min(firstImageData_, firstImagePixels_ * kMostGifBytesPerPixel);
    }
    if (HoldsTooMuchMetadata(at_, imageData_)) return End(false, true);
    if (at_ >= size) {
      out_.CutShort = at_ > size;  // a colour table cut off
      return false;
    }
    const std::uint8_t block = bytes[at_];
    if (block == 0x3B) return End(true);  // trailer
    if (block == 0x21) {                  // extension: its label, then sub-blocks
      std::size_t i = at_ + 2;
      std::uint64_t extension = 0;
      if (i > size || !WalkGifSubBlocks(bytes, i, extension)) {
        out_.CutShort = true;
        return false;
      }
      at_ = i;
      return true;
    }
    if (block != 0x2C) return End(false);
    if (size - at_ < 11) {
      out_.CutShort = true;
      return false;
    }
    const std::uint8_t* descriptor = &bytes[at_ + 1];
    const std::int64_t frameWidth = ReadLE16(descriptor + 4);
    const std::int64_t frameHeight = ReadLE16(descriptor + 6);
    const std::size_t data = at_ + 1 + 9 + GifColourTableBytes(descriptor[8]) + 1;  // descriptor, colour table, code size
    if (data > size) {
      out_.CutShort = true;
      return false;
    }
    if (++images_ == 1) {
      const std::int64_t right = std::int64_t{ReadLE16(descriptor)} + frameWidth;
      const std::int64_t bottom = std::int64_t{ReadLE16(descriptor + 2)} + frameHeight;
      out_.Size = PictureSize{std::max(screenWidth_, right), std::max(screenHeight_, bottom)};
      firstImagePixels_ = static_cast<std::uint64_t>(frameWidth * frameHeight);
    }
    at_ = data;
    inImage_ = true;
    return true;
  }

  std::int64_t screenWidth_ = 0, screenHeight_ = 0;
  std::size_t at_ = 0;
  std::uint64_t images_ = 0;
  std::uint64_t imageData_ = 0;  // of every image; only the first one's codes a pixel
  std::uint64_t firstImageData_ = 0;
  std::uint64_t firstImagePixels_ = 0;
  bool started_ = false;
  bool inImage_ = false;
};

}  // namespace

struct CodedPictureWalk::Walk {
  std::variant<std::monostate, JpegWalk, PngWalk, GifWalk> format;
};

CodedPictureWalk::CodedPictureWalk(std::span<const std::uint8_t> head) : walk_(std::make_unique<Walk>()) {
  static constexpr std::array<std::uint8_t, 8> kPng{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) {
    walk_->format = JpegWalk();
  } else if (head.size() >= kPng.size() && std::equal(kPng.begin(), kPng.end(), head.begin())) {
    walk_->format = PngWalk();
  } else if (head.size() >= 6 && (std::equal(head.begin(), head.begin() + 6, "GIF87a") ||
                                  std::equal(head.begin(), head.begin() + 6, "GIF89a"))) {
    walk_->format = GifWalk();
  }
}

CodedPictureWalk::~CodedPictureWalk() = default;
CodedPictureWalk::CodedPictureWalk(CodedPictureWalk&&) noexcept = default;
CodedPictureWalk& CodedPictureWalk::operator=(CodedPictureWalk&&) noexcept = default;

CodedPictureStructure CodedPictureWalk::Continue(std::span<const std::uint8_t> bytes) {
  return std::visit(
      [&](auto& walk) -> CodedPictureStructure {
        if constexpr (std::is_same_v<std::decay_t<decltype(walk)>, std::monostate>) {
          return {};
        } else {
          return walk.Continue(bytes);
        }
      },
      walk_->format);
}

CodedPictureStructure WalkJpeg(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return {};
  return JpegWalk().Continue(bytes);
}

CodedPictureStructure WalkPng(std::span<const std::uint8_t> bytes) {
  static constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < kSignature.size() || !std::equal(kSignature.begin(), kSignature.end(), bytes.begin())) return {};
  return PngWalk().Continue(bytes);
}

CodedPictureStructure WalkGif(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 13 || !std::equal(bytes.begin(), bytes.begin() + 3, "GIF")) return {};
  return GifWalk().Continue(bytes);
}

}  // namespace orvale
