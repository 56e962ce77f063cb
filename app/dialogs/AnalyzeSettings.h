#pragma once
// The analysis options kept in settings section "Analyze" between runs of the program.
// The window's own place ("Left", "Top") is read and written by the window.
#include <string_view>

#include "app/dialogs/AnalyzeControls.h"

namespace orvale {

inline constexpr std::string_view kAnalyzeSection = "Analyze";

// The options as stored. Reference files that no longer exist are left out; the
// stored selection is matched exactly against the list's texts ("none" when nothing
// matches).
AnalyzeControls ReadAnalyzeSettings();

// Writes the options back. The reference files are stored again from
// "Reference File1" on, in list order and without gaps.
void SaveAnalyzeSettings(const AnalyzeControls& controls);

}  // namespace orvale
