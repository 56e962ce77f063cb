#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "tests/app/document/DocumentTestSupport.h"
#include "LibjpegCoding.h"
#include "LyingPictures.h"
#include <span>
#include "app/pictures/ImageFileChecks.h"
#include "app/pictures/PictureBudget.h"

namespace orvale {
namespace {

using testing::BlankPng;
using testing::BmpSpec;
using testing::GifWithScreen;
using testing::JpegPaddedWithComments;
using testing::JpegWithDecoyFrame;
using testing::MakeBmp;

std::vector<testing::Rgb> GreyPalette() {
  std::vector<testing::Rgb> palette;
  for (int i = 0; i < 256; ++i) palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)});
  return palette;
}

std::vector<std::uint8_t> Jpeg(const QImage& image, bool progressive) { return testing::JpegCodedByQt(image, progressive); }

TEST(ImageFileChecksTest, BitmapHeadersMustFitTheFile) {
  const BmpSpec spec{4, 3, 24, 0, {}, {}, false, std::vector<std::vector<std::uint8_t>>(3, std::vector<std::uint8_t>(12, 1))};
  const auto whole = MakeBmp(spec);
  EXPECT_TRUE(BitmapFileIsPlausible(whole));

  auto cut = whole;
  cut.pop_back();
  EXPECT_FALSE(BitmapFileIsPlausible(cut));

  // A 100000 x 100000 header in a 200-byte file, before anything is allocated for it.
  auto absurd = whole;
  absurd[18] = 0xA0, absurd[19] = 0x86, absurd[20] = 0x01, absurd[21] = 0;
  absurd[22] = 0xA0, absurd[23] = 0x86, absurd[24] = 0x01, absurd[25] = 0;
  absurd.resize(200, 0);
  EXPECT_FALSE(BitmapFileIsPlausible(absurd));
  // The same size with run-length coding: more pixels than the program takes.
  absurd[30] = 1;
  EXPECT_FALSE(BitmapFileIsPlausible(absurd));

  auto noWidth = whole;
  noWidth[18] = 0;
  EXPECT_FALSE(BitmapFileIsPlausible(noWidth));
}

TEST(ImageFileChecksTest, JpegMustReachItsEndMarker) {
  // Start of image, a comment segment holding an end marker, a scan whose data holds a
  // stuffed 0xFF and a restart marker, then the end of image and trailing bytes.
  const std::vector<std::uint8_t> whole{0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x04, 0xFF, 0xD9,
                                        0xFF, 0xDA, 0x00, 0x02, 0x12, 0xFF, 0x00, 0x34,
                                        0xFF, 0xD0, 0x56, 0xFF, 0xD9, 0x00, 0x00};
  EXPECT_TRUE(WalkJpeg(whole).Complete);
  for (std::size_t size : {2u, 8u, 12u, 16u, 19u}) {
    EXPECT_FALSE(WalkJpeg(std::vector<std::uint8_t>(whole.begin(), whole.begin() + size)).Complete) << size;
  }
}

TEST(ImageFileChecksTest, HeaderSizesAreReadWithoutDecoding) {
  QImage grey(64, 48, QImage::Format_Grayscale8);
  grey.fill(90);
  const std::vector<std::vector<std::uint8_t>> rows(3, std::vector<std::uint8_t>(4, 1));
  const auto baseline = Jpeg(grey, false);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::optional<PictureSize> size;
  };
  const Case cases[] = {
      {"bitmap", MakeBmp({4, 3, 8, 0, {}, {}, false, rows}), PictureSize{4, 3}},
      {"rows from the top", MakeBmp({4, 3, 8, 0, {}, {}, true, rows}), PictureSize{4, 3}},
      {"baseline JPEG", baseline, PictureSize{64, 48}},
      {"progressive JPEG", Jpeg(grey, true), PictureSize{64, 48}},
      {"JPEG cut before its frame", {baseline.begin(), baseline.begin() + 20}, std::nullopt},
      {"text", {'B', 'M', ' ', 'n', 'o'}, std::nullopt},
      // The decoder allocates the logical screen, whatever its one frame holds.
      {"GIF", GifWithScreen(16000, 15000), PictureSize{16000, 15000}},
      {"PNG", BlankPng(16000, 15000, 1), PictureSize{16000, 15000}},
      // The frame libjpeg takes, not the one a comment holds.
      {"JPEG with a decoy frame", JpegWithDecoyFrame(30000, 8000, false), PictureSize{30000, 8000}},
      {"progressive JPEG with a decoy frame", JpegWithDecoyFrame(30000, 8000, true), PictureSize{30000, 8000}},
  };
  for (const Case& c : cases) {
    const std::optional<PictureSize> size = InspectPictureFile(c.bytes).Size;
    ASSERT_EQ(size.has_value(), c.size.has_value()) << c.name;
    if (size) {
      EXPECT_EQ(size->Width, c.size->Width) << c.name;
      EXPECT_EQ(size->Height, c.size->Height) << c.name;
    }
  }
}

TEST(ImageFileChecksTest, LimitsHoldForEachSideAndForThePixelsInAll) {
  EXPECT_TRUE(PictureSizeIsWithinLimits(32767, 7629));  // 249,979,443 pixels
  EXPECT_FALSE(PictureSizeIsWithinLimits(32767, 7630));
  EXPECT_FALSE(PictureSizeIsWithinLimits(32768, 1));
  EXPECT_FALSE(PictureSizeIsWithinLimits(1, 32768));
  EXPECT_TRUE(PictureSizeIsWithinLimits(15811, 15811));
  EXPECT_FALSE(PictureSizeIsWithinLimits(15812, 15812));
}

// Only the bytes that code the picture count: a comment, fill bytes or text chunks
// buy nothing.
TEST(ImageFileChecksTest, CodingBytesAreThoseThatCodeThePicture) {
  // Start of image, a comment, a scan header, data with a stuffed 0xFF, a restart
  // marker and fill bytes, then the end.
  const std::vector<std::uint8_t> jpeg{0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x06, 'a', 'b', 'c', 'd',
                                       0xFF, 0xDA, 0x00, 0x02, 0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0,
                                       0x56, 0xFF, 0xFF, 0xFF, 0xD9};
  EXPECT_EQ(InspectPictureFile(jpeg).CodingBytes, 4u);
  const auto padded = JpegPaddedWithComments(30000, 8000, 470 * 1024);
  EXPECT_GE(padded.size(), 470u * 1024);
  EXPECT_LT(InspectPictureFile(padded).CodingBytes, 1000u);

  const std::vector<std::vector<std::uint8_t>> rows(3, std::vector<std::uint8_t>(4, 1));
  const auto bitmap = MakeBmp({4, 3, 8, 0, {}, {}, false, rows});
  EXPECT_EQ(InspectPictureFile(bitmap).CodingBytes, 12u);  // three rows of four bytes

  const auto gif = GifWithScreen(16000, 15000);
  EXPECT_EQ(InspectPictureFile(gif).CodingBytes, 2u);
  EXPECT_TRUE(InspectPictureFile(gif).Complete);

  const auto png = BlankPng(100, 100, 8);
  // Signature, IHDR (25), the IDAT's length, type and CRC (12), IEND (12).
  EXPECT_EQ(InspectPictureFile(png).CodingBytes, png.size() - 8 - 25 - 12 - 12);

  const std::vector<std::uint8_t> other{'P', '5', ' ', '2', ' ', '1', ' ', '2', '5', '5', '\n', 1, 2};
  EXPECT_EQ(InspectPictureFile(other).CodingBytes, other.size());
}

TEST(ImageFileChecksTest, RunLengthCodesMustSuitTheBitsPerPixel) {
  const std::vector<std::uint8_t> code{0, 3, 1, 2, 3, 0, 0, 1};  // a literal of three pixels
  EXPECT_TRUE(RunLengthCodesAreSound(MakeBmp({4, 1, 8, 1, {}, {}, false, {code}})));
  // 4-bit codes in a picture of 8 bits per pixel, and 8-bit codes in one of 4.
  EXPECT_FALSE(RunLengthCodesAreSound(MakeBmp({4, 1, 8, 2, {}, {}, false, {code}})));
  EXPECT_FALSE(RunLengthCodesAreSound(MakeBmp({4, 1, 4, 1, {}, {}, false, {code}})));
  // A literal run whose pixels are not in the file.
  EXPECT_FALSE(RunLengthCodesAreSound(MakeBmp({4, 1, 8, 1, {}, {}, false, {{0, 3, 1}}})));
  EXPECT_TRUE(RunLengthCodesAreSound(MakeBmp({4, 1, 8, 0, {}, {}, false, {{1, 2, 3, 4}}})));
}

TEST(ImageFileChecksTest, APictureFileIsReadNoFurtherThanItsPictureCanNeed) {
  // A bitmap's headers give its extent exactly: 1078 + 4 x 3 bytes.
  const std::vector<std::vector<std::uint8_t>> rows(3, std::vector<std::uint8_t>(4, 1));
  const auto bitmap = MakeBmp({4, 3, 8, 0, GreyPalette(), {}, false, rows});
  EXPECT_EQ(MostBytesOfPictureFile(bitmap), 1078u + 12u);
  // Pixels far beyond the headers are no bitmap's: nothing more is read.
  auto misplaced = bitmap;
  misplaced[13] = 0xFF;  // pixels at 0xFF000436
  EXPECT_EQ(MostBytesOfPictureFile(misplaced), misplaced.size());
  // A coded picture may need what its header describes can take coded, however far
  // beyond the encoders' sizes, and no more: a 1-bit PNG its rows twice over.
  EXPECT_LT(MostBytesOfPictureFile(GifWithScreen(100, 100)), std::uint64_t{17} << 20);
  EXPECT_LT(MostBytesOfPictureFile(BlankPng(16000, 15000, 1)), std::uint64_t{80} << 20);
  EXPECT_GT(MostBytesOfPictureFile(BlankPng(1000, 1000, 16, true)), 2u * 1000u * 8001u);
  // Zeros are no picture at all, and a header beyond the limits needs nothing more.
  EXPECT_EQ(MostBytesOfPictureFile(std::vector<std::uint8_t>(4096, 0)), 4096u);
  EXPECT_EQ(MostBytesOfPictureFile(std::vector<std::uint8_t>{'B', 'M', 0, 0}), 4u);
  // A coded picture's end marker ends it; a bitmap has none.
  const auto png = BlankPng(100, 100, 8);
  EXPECT_TRUE(PictureEndIsAmong(png));
  EXPECT_FALSE(PictureEndIsAmong(std::span(png).first(png.size() - 12)));
  EXPECT_TRUE(PictureEndIsAmong(GifWithScreen(100, 100)));
  EXPECT_FALSE(PictureEndIsAmong(bitmap));
}

// What a JPEG's decoder keeps for it: one scan keeps a few rows, more scans every
// coefficient, 128 bytes a block of every component.
TEST(ImageFileChecksTest, AJpegsScansAndTheCoefficientsItsDecoderKeepsAreCounted) {
  QImage grey(64, 48, QImage::Format_Grayscale8);
  grey.fill(90);
  const auto baseline = InspectPictureFile(Jpeg(grey, false));
  EXPECT_EQ(baseline.Scans, 1u);
  EXPECT_EQ(baseline.KeptCoefficientBytes, 0u);
  EXPECT_EQ(baseline.ScanPasses, 1u);
  const auto progressive = InspectPictureFile(Jpeg(grey, true));
  EXPECT_GT(progressive.Scans, 1u);
  EXPECT_EQ(progressive.KeptCoefficientBytes, 8u * 6u * 128u);
  // Each scan of a grey picture passes over all of it.
  EXPECT_EQ(progressive.ScanPasses, progressive.Scans);
  const auto repeated = InspectPictureFile(testing::ProgressiveJpegOfScans(301));
  EXPECT_EQ(repeated.Scans, 301u);
  EXPECT_EQ(repeated.ScanPasses, 301u);
  // In colour most scans pass over one component, the two subsampled ones a quarter of
  // the brightness's blocks each: fewer passes over the whole picture than scans.
  QImage colour(64, 48, QImage::Format_RGB32);
  colour.fill(qRgb(200, 40, 90));
  const auto colourProgressive = InspectPictureFile(Jpeg(colour, true));
  EXPECT_LT(colourProgressive.ScanPasses, colourProgressive.Scans);
  EXPECT_GE(colourProgressive.ScanPasses, 3u);
  // 4:4:4 CMYK: 4 components of 625 x 625 blocks.
  EXPECT_EQ(InspectPictureFile(testing::CmykJpegClaiming(5000, 5000)).KeptCoefficientBytes, 4u * 625u * 625u * 128u);
}

// A refinement scan decodes every coefficient of its band again: libjpeg's own script
// decodes each coefficient of grey 191 times in 64, of 4:4:4 colour 149.
TEST(ImageFileChecksTest, TheCoefficientsAJpegsScansDecodeAreCounted) {
  QImage grey(64, 48, QImage::Format_Grayscale8);
  grey.fill(90);
  EXPECT_EQ(InspectPictureFile(Jpeg(grey, false)).CoefficientSixtyFourths, 64u);
  testing::LibjpegCoding progressive;
  progressive.progressive = true;
  EXPECT_EQ(InspectPictureFile(testing::CodedByLibjpeg(grey, progressive)).CoefficientSixtyFourths, 191u);
  const QImage colour = grey.convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(InspectPictureFile(testing::CodedByLibjpeg(colour, progressive)).CoefficientSixtyFourths, 149u);
  testing::LibjpegCoding refinements;
  refinements.refinements = 10;  // DC, the band, ten refinements (libjpeg's most): 1 + 11 x 63
  EXPECT_EQ(InspectPictureFile(testing::CodedByLibjpeg(grey, refinements)).CoefficientSixtyFourths, 694u);
}

// A walk that goes on as the file arrives, a piece at a time, ends where one walk of the
// whole file ends, with the same structure.
TEST(ImageFileChecksTest, AWalkGoesOnAsTheFileArrives) {
  QImage colour(64, 48, QImage::Format_RGB32);
  colour.fill(qRgb(200, 40, 90));
  testing::LibjpegCoding arithmetic;
  arithmetic.arithmetic = true;
  arithmetic.progressive = true;
  const std::vector<std::vector<std::uint8_t>> files = {
      Jpeg(colour, true),
      testing::CodedByLibjpeg(colour, arithmetic),
      JpegWithDecoyFrame(300, 80, true),
      testing::WithJpegComments(Jpeg(colour, false), 200000),
      BlankPng(300, 200, 8),
      testing::InterlacedGreyPng(37, 23),
      testing::GifWithIdleCodes(300, 200, 3000, true),
      testing::GifWithComment(30, 20, 1000),
  };
  for (std::size_t f = 0; f < files.size(); ++f) {
    const std::vector<std::uint8_t>& file = files[f];
    const CodedPictureStructure whole = InspectPictureFile(file);
    ASSERT_TRUE(whole.Complete) << f;
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{255}, std::size_t{4096}}) {
      SCOPED_TRACE("file " + std::to_string(f) + ", pieces of " + std::to_string(piece));
      const std::span<const std::uint8_t> bytes(file);
      CodedPictureWalk walk(bytes.first(16));  // enough to tell the format
      CodedPictureStructure walked;
      for (std::size_t end = piece; end < file.size() + piece; end += piece)
        walked = walk.Continue(bytes.first(std::min(end, file.size())));
      EXPECT_TRUE(walked.Complete);
      ASSERT_TRUE(walked.Size.has_value());
      EXPECT_EQ(walked.Size->Width, whole.Size->Width);
      EXPECT_EQ(walked.Size->Height, whole.Size->Height);
      EXPECT_EQ(walked.CodingBytes, whole.CodingBytes);
      EXPECT_EQ(walked.Scans, whole.Scans);
      EXPECT_EQ(walked.ScanPasses, whole.ScanPasses);
      EXPECT_EQ(walked.CoefficientSixtyFourths, whole.CoefficientSixtyFourths);
      EXPECT_FALSE(walked.CutShort);
    }
  }
}

TEST(ImageFileChecksTest, TheBudgetGrowsWithTheCodingBytesFromAFloor) {
  // Every picture up to 64 Mi pixels fits the floor however little data it codes in: a
  // dark 60-megapixel camera frame, a blank A4 page scanned at 1200 dpi.
  EXPECT_EQ(AllowedPicturePixels(0), std::int64_t{8192} * 8192);
  EXPECT_EQ(AllowedPicturePixels(kPicturePixelsFloor / kPicturePixelsPerCodingByte), kPicturePixelsFloor);
  // Beyond, each byte buys 256 pixels: a 102-megapixel camera frame needs 400 KB.
  EXPECT_EQ(AllowedPicturePixels(400'000), 102'400'000);
  EXPECT_EQ(AllowedPicturePixels(std::uint64_t{1} << 40), kMaxPicturePixels);
}

}  // namespace
}  // namespace orvale
