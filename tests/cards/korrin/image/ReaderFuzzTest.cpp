// Mutated TGA and BMP files: whatever the bytes, a reader either delivers rows inside
// the image it described or fails, and never touches memory outside (ASan checks).
// The suite runs a short pass; a long one is started by hand:
//   KORRIN_FUZZ_RUNS=1000000 ./korrin_image_test --gtest_filter='ReaderFuzz*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "ImageFixtures.h"
#include "cards/korrin/image/BmpFile.h"
#include "cards/korrin/image/TgaFile.h"

namespace orvale::korrin {
namespace {

using test::Bytes;

std::vector<Bytes> Seeds() {
  std::vector<Bytes> seeds;
  Bytes map;
  for (int i = 0; i < 4; ++i) map.insert(map.end(), {std::uint8_t(i), 10, 20});
  seeds.push_back(test::MakeTga({.width = 5, .height = 4, .pixels = Bytes(60, 3)}));
  seeds.push_back(test::MakeTga({.type = 3, .width = 5, .height = 4, .depth = 8, .descriptor = 0,
                                 .pixels = Bytes(20, 9)}));
  seeds.push_back(test::MakeTga({.type = 1, .width = 5, .height = 4, .depth = 8, .mapType = 1,
                                 .mapLength = 4, .mapEntryBits = 24, .map = map, .pixels = Bytes(20, 2)}));
  seeds.push_back(test::MakeTga({.type = 10, .width = 5, .height = 4, .depth = 32,
                                 .pixels = {0x84, 1, 2, 3, 4, 0x02, 5, 6, 7, 8, 5, 6, 7, 8, 5, 6, 7, 8,
                                            0x8B, 9, 9, 9, 9}}));
  seeds.push_back(test::MakeTga({.type = 11, .width = 5, .height = 4, .depth = 8, .pixels = {0x93, 1}}));
  seeds.push_back(test::MakeTga({.type = 9, .width = 5, .height = 4, .depth = 8, .mapType = 1,
                                 .mapLength = 4, .mapEntryBits = 16, .map = Bytes(8, 0x41),
                                 .pixels = {0x13, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0}}));
  seeds.push_back(test::MakeTga({.width = 5, .height = 4, .depth = 16, .descriptor = 0, .pixels = Bytes(40, 0x21)}));
  seeds.push_back(test::MakeBmp({.width = 5, .height = 4, .pixels = Bytes(64, 4)}));
  seeds.push_back(test::MakeBmp({.width = 5, .height = 4, .bits = 8, .coloursUsed = 3,
                                 .table = Bytes(12, 0x33), .pixels = Bytes(32, 1)}));
  return seeds;
}

void Mutate(Bytes& file, std::mt19937& random) {
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  const int mutations = 1 + static_cast<int>(pick(4));
  for (int m = 0; m < mutations && !file.empty(); ++m) {
    switch (pick(6)) {
      case 0:  // flip a bit
        file[pick(file.size())] ^= static_cast<std::uint8_t>(1u << pick(8));
        break;
      case 1:  // any byte
        file[pick(file.size())] = static_cast<std::uint8_t>(pick(256));
        break;
      case 2:  // cut short
        file.resize(pick(file.size()));
        break;
      case 3: {  // a huge or odd size in a header field
        static const std::uint32_t kValues[] = {0, 1, 1024, 1025, 0x7FFF, 0x8000, 0xFFFF,
                                                0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
        const std::size_t at = pick(std::min<std::size_t>(file.size(), 54));
        const std::uint32_t v = kValues[pick(std::size(kValues))];
        for (int i = 0; i < 4 && at + i < file.size(); ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        break;
      }
      case 4:  // bytes added in the middle
        file.insert(file.begin() + static_cast<std::ptrdiff_t>(pick(file.size())), pick(8) + 1,
                    static_cast<std::uint8_t>(pick(256)));
        break;
      default:  // a run header in the pixel data
        file[pick(file.size())] = static_cast<std::uint8_t>(0x80 | pick(128));
        break;
    }
  }
}

template <class ReadInfo, class ReadImage>
void Load(const Bytes& file, ReadInfo readInfo, ReadImage readImage) {
  ByteInput in(file);
  const auto info = readInfo(in);
  if (!info) return;
  ASSERT_GT(info->width, 0);
  ASSERT_GT(info->height, 0);
  Palette palette = GreyRamp();
  int delivered = 0;
  const bool ok = readImage(in, palette, [&](int row, const std::uint8_t* pixels) {
    ASSERT_TRUE(row >= 0 && row < info->height) << row;
    ASSERT_LE(info->width, kMaxLoadWidth);
    // Touch the whole row, as a loader copying it would.
    volatile std::uint8_t sum = 0;
    const int bytes = info->width * std::max(1, (info->bits + 7) / 8);
    for (int i = 0; i < bytes; ++i) sum = sum + pixels[i];
    ++delivered;
  });
  ASSERT_LE(delivered, info->height);
  if (ok) {
    ASSERT_EQ(delivered, info->height);
  }
}

TEST(ReaderFuzzTest, MutatedFilesNeverReadOrWriteOutOfBounds) {
  const char* runsText = std::getenv("KORRIN_FUZZ_RUNS");
  const long runs = runsText != nullptr ? std::atol(runsText) : 3000;
  const auto seeds = Seeds();
  std::mt19937 random(20261210);
  for (long run = 0; run < runs; ++run) {
    Bytes file = seeds[static_cast<std::size_t>(run) % seeds.size()];
    Mutate(file, random);
    Load(file, [](ByteInput& in) { return ReadTgaInfo(in); },
         [](ByteInput& in, Palette& p, const RowSink& s) { return ReadTgaImage(in, p, s); });
    Load(file, [](ByteInput& in) { return ReadBmpInfo(in); },
         [](ByteInput& in, Palette& p, const RowSink& s) { return ReadBmpImage(in, p, s); });
    if (::testing::Test::HasFatalFailure()) {
      ADD_FAILURE() << "run " << run;
      return;
    }
  }
}

}  // namespace
}  // namespace orvale::korrin
