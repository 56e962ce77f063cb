#pragma once
// Picture files whose headers claim far more than their data, or whose coding costs far
// more than their size, built byte by byte: each is a few bytes to a few hundred
// kilobytes, and each would take the program gigabytes or seconds if it were decoded
// as it claims.
#include <QImage>
#include <cstdint>
#include <vector>

namespace orvale::testing {

// `image` as Qt's JPEG writer codes it, baseline or progressive, at `quality` (-1 the
// writer's own).
std::vector<std::uint8_t> JpegCodedByQt(const QImage& image, bool progressive, int quality = -1);

// A GIF whose logical screen is `width` x `height` and whose one frame is 1 x 1.
std::vector<std::uint8_t> GifWithScreen(int width, int height);

// A blank PNG of `bitDepth` bits a sample, grey (colour type 0) or, with
// `withColourAndAlpha`, RGBA (type 6), compressed as tightly as zlib can.
std::vector<std::uint8_t> BlankPng(int width, int height, int bitDepth, bool withColourAndAlpha = false);

// The same with its rows stored, not compressed.
std::vector<std::uint8_t> StoredBlankPng(int width, int height, int bitDepth, bool withColourAndAlpha = false);

// A blank grey 8-bit PNG whose zlib stream goes on for `extra` bytes of zeros past its
// last row.
std::vector<std::uint8_t> PngWhoseStreamGoesOn(int width, int height, std::size_t extra);

// A grey 8-bit PNG interlaced with Adam7, whose pixel at x, y is (7 x + 13 y) mod 256.
std::vector<std::uint8_t> InterlacedGreyPng(int width, int height);

// `png` with a chunk of `type` holding `data` after its header chunk.
std::vector<std::uint8_t> WithPngChunk(std::vector<std::uint8_t> png, const char* type,
                                       const std::vector<std::uint8_t>& data);

// A PNG's signature and a header chunk of any values, and nothing after.
std::vector<std::uint8_t> PngHeader(int width, int height, int bitDepth, int colourType);

// A PNG's signature, a 64 x 64 grey header, then a chunk of `type` that declares
// `length` bytes and holds the three bytes "k\0v": 44 bytes in all.
std::vector<std::uint8_t> PngDeclaringAChunkOf(const char* type, std::uint32_t length);

// A GIF whose logical screen is `width` x `height` and whose one frame is 1 x 1, its
// codes led by `clearCodes` bytes of clear codes; with `inASecondFrame` those go to a
// second 1 x 1 frame instead.
std::vector<std::uint8_t> GifWithIdleCodes(int width, int height, std::size_t clearCodes, bool inASecondFrame);

// A GIF of a `width` x `height` screen and a 1 x 1 frame, with a comment extension of
// `bytes` bytes before its frame.
std::vector<std::uint8_t> GifWithComment(int width, int height, std::size_t bytes);

// `jpeg` with comment segments of at least `bytes` bytes in all after its frame header.
std::vector<std::uint8_t> WithJpegComments(std::vector<std::uint8_t> jpeg, std::size_t bytes);

// The start of image and a frame header of `width` x `height` and `components`
// components, and nothing after.
std::vector<std::uint8_t> JpegFrameOfComponents(int width, int height, int components);

// A JPEG that starts with a TEM marker (which has no length) followed by two stray bytes
// that a careless reader takes for one, then a real frame
// header of `width` x `height`, then a comment that holds an 8 x 8 frame header as a
// decoy, then the tables and the scans of an 8 x 8 picture (grey baseline, or
// progressive colour).
std::vector<std::uint8_t> JpegWithDecoyFrame(int width, int height, bool progressiveColour);

// A progressive colour JPEG of an 8 x 8 picture whose frame says `width` x `height`,
// padded with comment segments to at least `size` bytes.
std::vector<std::uint8_t> JpegPaddedWithComments(int width, int height, std::size_t size);

// A 16 x 16 grey baseline JPEG whose frame header says `width` x `height`: its data
// describes a few blocks and its end-of-image marker follows.
std::vector<std::uint8_t> JpegClaiming(int width, int height);

// A progressive grey 16 x 16 JPEG of `scans` scans: Qt's own, its last scan repeated.
std::vector<std::uint8_t> ProgressiveJpegOfScans(int scans);

// A progressive JPEG whose frame claims `width` x `height` pixels of four components,
// none subsampled (CMYK 4:4:4), followed by the tables and scans of an 8 x 8 picture:
// its decoder keeps 8 bytes of coefficients a pixel beside the picture it fills.
std::vector<std::uint8_t> CmykJpegClaiming(int width, int height);

// The run-length code (8-bit) of a `width` x `height` picture that paints every
// sixteenth row whole and jumps over the others.
std::vector<std::uint8_t> Rle8PaintingASixteenth(int width, int height);

}  // namespace orvale::testing
