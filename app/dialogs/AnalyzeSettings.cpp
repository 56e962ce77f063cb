#include "app/dialogs/AnalyzeSettings.h"

#include <array>
#include <string>

#include "app/document/FilePaths.h"
#include "platform/registry/TypedSettings.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

constexpr std::string_view kDefaultWavelength = "632.8";
constexpr double kMinWavelength = 1.0;
constexpr double kMaxWavelength = 10000.0;
constexpr double kMaxCustomScale = 1000.0;
constexpr double kDefaultCustomScale = 2.0;

struct FlagKey {
  std::string_view Key;
  bool Default;
};
constexpr std::array<FlagKey, kRemoveCount> kRemoveKeys = {{
    {"Tilt", true}, {"Defocus", true}, {"Astigmatism", false}, {"Coma", false},
    {"Spherical", false},
}};

std::string ReferenceFileKey(int number) { return "Reference File" + std::to_string(number); }

// A stored wavelength is shown only when it reads as a wavelength the analysis takes.
std::string ReadWavelength(std::string_view key) {
  const std::string text = GetSettingString(kAnalyzeSection, key, kDefaultWavelength);
  const double value = ReadLeadingNumber(text);
  return value >= kMinWavelength && value <= kMaxWavelength ? text
                                                            : std::string(kDefaultWavelength);
}

// Read as a real: the box takes decimals, and a whole-number read would turn a stored
// 1.5 into 2 after a restart.
std::string ReadCustomScale() {
  const double scale =
      GetSettingDouble(kAnalyzeSection, "Custom Scale", 0.0, kMaxCustomScale, kDefaultCustomScale);
  return FormatGeneral(scale == 0.0 ? kDefaultCustomScale : scale);
}

}  // namespace

AnalyzeControls ReadAnalyzeSettings() {
  AnalyzeControls c;
  c.BrowseDir = GetSettingString(kAnalyzeSection, "Browse Dir", "");
  for (std::size_t i = 0; i < kRemoveCount; ++i)
    c.Remove[i] = GetSettingBool(kAnalyzeSection, kRemoveKeys[i].Key, kRemoveKeys[i].Default);
  c.InvertWavefront = GetSettingBool(kAnalyzeSection, "Invert Scale", false);
  c.TrimEdges = GetSettingBool(kAnalyzeSection, "Trim Edges", true);
  c.DisplayUnits = GetSettingLong(kAnalyzeSection, "Display Units", 0, 2, 0);
  c.InputWL = ReadWavelength("Input WL");
  c.OutputWL = ReadWavelength("Output WL");
  c.ScaleFactorOption = GetSettingLong(kAnalyzeSection, "Scale Factor", 0, 2, 0);
  c.ScaleFactorText = ReadCustomScale();
  c.LimitOrderIndex = GetSettingLong(kAnalyzeSection, "Limit Order", 0, 4, 0);

  for (int n = 1;; ++n) {
    const std::string path = GetSettingString(kAnalyzeSection, ReferenceFileKey(n), "");
    if (path.empty()) break;
    if (FileExists(path)) c.AddReferenceFile(path);
  }
  const std::string selected = GetSettingString(kAnalyzeSection, "Reference Selected", "");
  c.SelectReference(kReferenceNone);
  if (!selected.empty()) {
    for (std::int32_t i = 0; i < c.ReferenceCount(); ++i) {
      if (c.ReferencePath(i) == selected) {
        c.SelectReference(i);
        break;
      }
    }
  }
  return c;
}

void SaveAnalyzeSettings(const AnalyzeControls& c) {
  SaveSettingString(kAnalyzeSection, "Browse Dir", c.BrowseDir);
  for (std::size_t i = 0; i < kRemoveCount; ++i)
    SaveSettingBool(kAnalyzeSection, kRemoveKeys[i].Key, c.Remove[i]);
  SaveSettingBool(kAnalyzeSection, "Invert Scale", c.InvertWavefront);
  SaveSettingBool(kAnalyzeSection, "Trim Edges", c.TrimEdges);
  SaveSettingString(kAnalyzeSection, "Input WL", c.InputWL);
  SaveSettingString(kAnalyzeSection, "Output WL", c.OutputWL);
  SaveSettingString(kAnalyzeSection, "Custom Scale", c.ScaleFactorText);
  SaveSettingLong(kAnalyzeSection, "Display Units", c.DisplayUnits);
  SaveSettingLong(kAnalyzeSection, "Scale Factor", c.ScaleFactorOption);
  SaveSettingLong(kAnalyzeSection, "Limit Order", c.LimitOrderIndex);
  SaveSettingString(kAnalyzeSection, "Reference Selected", c.SelectedReferencePath());

  for (int n = 1;; ++n) {
    const std::string key = ReferenceFileKey(n);
    if (GetSettingString(kAnalyzeSection, key, "").empty()) break;
    DeleteSettingValue(kAnalyzeSection, key);
  }
  int number = 0;
  for (std::int32_t i = kFirstReferenceFile; i < c.ReferenceCount(); ++i) {
    const std::string path = c.ReferencePath(i);
    if (!path.empty()) SaveSettingString(kAnalyzeSection, ReferenceFileKey(++number), path);
  }
}

}  // namespace orvale
