#pragma once
// Fixtures of the result-view suites: a document with output views and the program's
// default settings, the seven view models with windows that log what they are asked,
// small maps and grids.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "../document/DocumentModelTestSupport.h"
#include "PlotTestSupport.h"
#include "app/analysis/clsGrid.h"
#include "app/document/clsDocument.h"
#include "app/plots/ResultViewModels.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/runtime/Markers.h"
#include "platform/ui/MessageService.h"

namespace orvale::testing {

// The windows, as the fillers ask them: "ResizeWindow 4", "SizeWindowToImage 6 310x320".
class RecordingWindows : public ResultViewWindows {
 public:
  void ResizeWindow(std::int32_t formType) override { Log("ResizeWindow " + std::to_string(formType)); }
  void SizeWindowToImage(std::int32_t formType, WindowSize outer) override {
    Log("SizeWindowToImage " + std::to_string(formType) + " " + std::to_string(outer.Width) + "x" +
        std::to_string(outer.Height));
  }
  void HideWindow(std::int32_t formType) override { Log("HideWindow " + std::to_string(formType)); }
  void UpdateTextBox(std::int32_t formType) override { Log("UpdateTextBox " + std::to_string(formType)); }
  std::vector<std::string> calls;

 private:
  void Log(std::string line) { calls.push_back(std::move(line)); }
};

// Every report line shown, like the "Show ..." settings' defaults say for most of them.
inline GeneralSettings ResultViewSettings() {
  GeneralSettings s = DefaultDocumentSettings();
  s.ReportShowFlags.fill(true);
  return s;
}

// z = x^2 + y^2 over the unit square, sampled n x n, blank outside the unit circle
// when `pupil`.
inline std::vector<double> BowlMap(std::int32_t n, bool pupil = true) {
  std::vector<double> z(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
  for (std::int32_t j = 0; j < n; ++j) {
    for (std::int32_t i = 0; i < n; ++i) {
      const double x = -1 + 2.0 * i / (n - 1), y = 1 - 2.0 * j / (n - 1);
      const double r2 = x * x + y * y;
      z[static_cast<std::size_t>(j) * n + i] = pupil && r2 > 1 ? kBlankValue : r2;
    }
  }
  return z;
}

// A grid of nx x ny cells of 2 x 3 mm; cell k gets RMS 0.01 k, P-V 0.1 k and the
// status k mod 3.
inline clsGrid GridWithResults(std::int32_t nx, std::int32_t ny) {
  clsGrid grid;
  grid.CellCountX = nx;
  grid.CellCountY = ny;
  grid.GridPhysicalWidth = 2.0 * nx;
  grid.CellPhysicalWidth = 2;
  grid.CellPhysicalHeight = 3;
  const std::size_t n = static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny);
  std::vector<std::int32_t> status(n);
  std::vector<double> rms(n), pv(n);
  for (std::size_t k = 0; k < n; ++k) {
    status[k] = static_cast<std::int32_t>(k % 3);
    rms[k] = 0.01 * static_cast<double>(k);
    pv[k] = 0.1 * static_cast<double>(k);
  }
  grid.SetAnalysisResults(status, rms, pv);
  return grid;
}

class ResultViewTest : public ::testing::Test {
 protected:
  ResultViewTest() {
    doc_.OutputViewsExist = true;
    doc_.ImageFileName = "mirror.bmp";
    doc_.ContourLevels = 8;
    views_.Windows = &windows_;
  }

  GeneralSettings settings_ = ResultViewSettings();
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
  clsDocument doc_{settings_};
  ResultViewModels views_{60, 30, 0};
  RecordingWindows windows_;
};

using test::CallsNamed;

}  // namespace orvale::testing
