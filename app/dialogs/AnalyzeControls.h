#pragma once
// The options of the analysis-options window as plain data: what its controls show.
// The window mirrors this model, and automation and tests read and write the options
// through it without showing the window; between two Apply runs it is the only store
// of the options.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis/RefPathList.h"

namespace orvale {

// The "Remove" check boxes, in their order.
inline constexpr std::size_t kRemoveCount = 5;
inline constexpr std::array<std::string_view, kRemoveCount> kRemoveCaptions = {
    "Tilt", "Defocus", "Astigmatism", "Coma", "S. A."};

// Scale-factor option buttons.
namespace scaleoption {
inline constexpr std::int32_t kHalf = 0;
inline constexpr std::int32_t kOne = 1;
inline constexpr std::int32_t kCustom = 2;
}  // namespace scaleoption

// Display-unit option buttons; the index is the document's ScaleMode.
namespace displayunits {
inline constexpr std::int32_t kWaves = 0;
inline constexpr std::int32_t kMicrometers = 1;
inline constexpr std::int32_t kMicroinches = 2;
}  // namespace displayunits

// The order-limit list and the number of Zernike terms each entry fits (0: the
// analysis chooses).
inline constexpr std::array<std::string_view, 5> kLimitOrderItems = {"Auto", "8th", "6th", "4th",
                                                                     "2nd"};
// The terms of a list index; 0 for any other index (no selection).
std::int32_t LimitOrderTerms(std::int32_t index);

// The reference list's two fixed entries.
inline constexpr std::int32_t kReferenceNone = 0;
inline constexpr std::int32_t kReferenceCustom = 1;
inline constexpr std::int32_t kFirstReferenceFile = 2;

class AnalyzeControls {
 public:
  // The reference list holds "none" and "Custom", with "none" selected.
  AnalyzeControls();

  std::array<bool, kRemoveCount> Remove{true, true, false, false, false};
  std::int32_t ScaleFactorOption = scaleoption::kHalf;
  std::string ScaleFactorText = "2";
  bool InvertWavefront = false;
  std::string InputWL = "632.8";
  std::string OutputWL = "632.8";
  std::int32_t DisplayUnits = displayunits::kWaves;
  bool TrimEdges = true;
  std::int32_t LimitOrderIndex = 0;
  // The folder the reference-file browser opens in.
  std::string BrowseDir;
  // False while no document is open (or the main window forces the options off).
  bool OptionsEnabled = true;

  // Whether the custom-scale box takes input: only with "Custom" selected.
  bool ScaleFactorTextEnabled() const;

  // --- Reference list: captions, with the text each entry stands for beside them ---
  const std::vector<std::string>& ReferenceItems() const { return items_; }
  std::int32_t ReferenceCount() const { return static_cast<std::int32_t>(items_.size()); }
  // The selected entry, -1 for none.
  std::int32_t ReferenceIndex() const { return selected_; }
  // Selects entry `index` (-1 clears the selection); an index beyond the list is
  // ignored.
  void SelectReference(std::int32_t index);
  // "none", "Custom" or a file's path; empty beyond the list.
  std::string ReferencePath(std::int32_t index) const { return paths_.GetItem(index); }
  std::string SelectedReferencePath() const { return paths_.GetItem(selected_); }
  // Appends a reference file, captioned with its file name; the selection stays.
  void AddReferenceFile(const std::string& path);
  // Removes the selected file entry and selects the one above it. False, and nothing
  // changes, on "none", "Custom" or no selection.
  bool RemoveSelectedReference();

 private:
  std::vector<std::string> items_;
  clsRefPath paths_;
  std::int32_t selected_ = kReferenceNone;
};

}  // namespace orvale
