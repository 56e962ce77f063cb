#pragma once
// A toolkit library over a simulated card, with helpers for the usual steps.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/LineFormats.h"
#include "cards/melvex/ZelvoLibrary.h"
#include "cards/melvex/sim/SimulatedCard.h"

namespace orvale::melvex::testing {

class CardFixture : public ::testing::Test {
 protected:
  CardFixture()
      : card(std::make_unique<sim::SimulatedCard>()), library(std::make_unique<ZelvoLibrary>(*card, memory)) {}

  sim::SimulatedCard& Card() { return *card; }
  ZelvoLibrary& Lib() { return *library; }

  // Opens a session and configures input 0 as composite; returns the standard reported.
  std::int32_t InitAndConfigure(int standard = 1) {
    card->Input(0).standard = standard;
    EXPECT_EQ(library->ZLP_init(), code::kOk);
    std::int32_t reported = -1;
    EXPECT_EQ(library->ZLP_videoConfig(0, 0, &reported), code::kOk);
    return reported;
  }

  // Prepares `request`, snaps it and starts a readout in `format`.
  void SnapAndStartReadout(const ZlpSnapRequest& request, int format) {
    ASSERT_EQ(library->ZLP_prepareSnap(&request), code::kOk);
    ASSERT_EQ(library->ZLP_startSnap(), code::kOk);
    ASSERT_EQ(library->ZLP_finishSnap(), code::kOk);
    ASSERT_EQ(library->ZLP_startReadout(format, nullptr), code::kOk);
  }

  // The next line in `format` of `width` pixels from pixel 0.
  std::vector<std::uint8_t> ReadLine(int format, int width, int first = 0) {
    std::vector<std::uint8_t> line(static_cast<std::size_t>(LineBytes(format, width)) + 4, 0);
    EXPECT_EQ(library->ZLP_readLine(line.data(), static_cast<std::uint16_t>(first),
                                    static_cast<std::uint16_t>(width)),
              code::kOk);
    return line;
  }

  MovableMemory memory;  // the library's DIBs, apart from the process's
  std::unique_ptr<sim::SimulatedCard> card;
  std::unique_ptr<ZelvoLibrary> library;
};

inline ZlpSnapRequest Request(int xOffset, int xActive, int xPixels, int yOffset, int yActive,
                              int yPixels, int interlaced = 1, int monochrome = 0) {
  return ZlpSnapRequest{static_cast<std::uint16_t>(xOffset), static_cast<std::uint16_t>(xActive),
                        static_cast<std::uint16_t>(xPixels), static_cast<std::uint16_t>(yOffset),
                        static_cast<std::uint16_t>(yActive), static_cast<std::uint16_t>(yPixels),
                        interlaced, monochrome};
}

}  // namespace orvale::melvex::testing
