#pragma once
// What the structure of a JPEG, PNG or GIF file says before anything is decoded: the
// size its decoder will allocate, and how many of its bytes actually code the picture
// (metadata, comments and padding code nothing). Each walk follows the file as the
// format's decoder reads it, so that a segment the decoder skips cannot pass for a
// header.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace orvale {

struct PictureSize {
  std::int64_t Width = 0;
  std::int64_t Height = 0;  // a bitmap's row count, whichever way its rows run
};

// The most bytes a picture file may hold that code no pixel: what cameras and editors
// write beside the picture (EXIF with its thumbnail in 64 KB, a colour profile of a
// few MB, XMP, comments) with room to spare, and the format's own framing. A file with
// more is damaged, so that no metadata makes the program read and hold more.
inline constexpr std::uint64_t kMostPictureMetadataBytes = std::uint64_t{16} << 20;

// The most bytes a pixel of a GIF takes coded: codes of at most 12 bits, with the
// lengths of their sub-blocks.
inline constexpr std::uint64_t kMostGifBytesPerPixel = 2;

struct CodedPictureStructure {
  std::optional<PictureSize> Size;  // none when the walk found no header of it
  std::uint64_t CodingBytes = 0;
  bool Complete = false;  // the walk reached the format's end marker
  // A chunk, segment or block runs past the end of the bytes walked.
  bool CutShort = false;
  // A header value that no decoder takes (a JPEG of components other than 1, 3 or 4 or
  // of a precision other than 8 bits, a PNG depth its colour type does not allow), or
  // more than kMostPictureMetadataBytes that code no pixel: damaged, whatever follows.
  bool Refused = false;
  // JPEG only: the components of its frame, the scans that follow, the passes those
  // scans make over the picture (the blocks they cover, in whole pictures, rounded up),
  // and the bytes its decoder holds for every coefficient of the picture until the last
  // scan when it has more than one (progressive, or components in scans of their own);
  // 0 for one scan.
  int Components = 0;
  std::uint64_t Scans = 0;
  std::uint64_t ScanPasses = 0;
  std::uint64_t KeptCoefficientBytes = 0;
  // JPEG only: the coefficients its scans decode, in 64ths of a pass over every
  // coefficient of the picture (rounded up): one scan decodes each once, a progressive
  // scan each of its band once more (a refinement decides every coefficient of its band
  // again, however little data it has).
  std::uint64_t CoefficientSixtyFourths = 0;
};

// A walk of a JPEG, PNG or GIF that goes on as more of its file arrives: each call
// walks on from where the last one stopped (the start of a segment, chunk or block that
// was not all there, or within a scan or an image's data), never again over what it
// walked, and gives the structure as far as it got. A walk of any other format gives
// nothing.
class CodedPictureWalk {
 public:
  // For the file whose first bytes are `head`.
  explicit CodedPictureWalk(std::span<const std::uint8_t> head);
  ~CodedPictureWalk();
  CodedPictureWalk(CodedPictureWalk&&) noexcept;
  CodedPictureWalk& operator=(CodedPictureWalk&&) noexcept;

  // `bytes` are the file's bytes from its start, those of every earlier call among them.
  CodedPictureStructure Continue(std::span<const std::uint8_t> bytes);

 private:
  struct Walk;
  std::unique_ptr<Walk> walk_;
};

// JPEG, walked marker by marker as libjpeg walks it: the standalone markers (TEM and
// the restart markers) have no length, fill bytes (0xFF runs) and stray bytes between
// segments are passed over, and inside a scan a stuffed 0xFF 0x00 and the restart
// markers belong to the entropy-coded data. The size is that of the first frame
// header; the coding bytes are those of the entropy-coded data, fill bytes not
// counted; complete means the end-of-image marker follows the segments and scans.
CodedPictureStructure WalkJpeg(std::span<const std::uint8_t> bytes);

// PNG: the size of its IHDR chunk; the coding bytes are those of its IDAT chunks that
// are in the file; complete means an IEND chunk follows.
CodedPictureStructure WalkPng(std::span<const std::uint8_t> bytes);

// GIF: the size is the logical screen, widened to cover the first image, as its
// decoder allocates the screen whatever its frames hold; the coding bytes are those of
// the first image's data sub-blocks, the only image decoded, and no more than its
// pixels can take coded; complete means the trailer follows.
CodedPictureStructure WalkGif(std::span<const std::uint8_t> bytes);

}  // namespace orvale
