#pragma once
// The aspect ratio a user types for resampling an image: the "Adjust Aspect Ratio"
// dialog and the grab aspect ratio of the preferences share one rule.
#include <string>
#include <string_view>

namespace orvale {

// The largest ratio and the smallest one below 1: beyond them one side of a camera
// image would grow a hundredfold (gigabytes for a full frame). 0 and 1 mean "no
// change".
inline constexpr double kLargestAspectRatio = 100.0;
inline constexpr double kSmallestAspectRatio = 0.01;

inline constexpr std::string_view kAspectRatioWarning =
    "The aspect ratio must be a number from 0.01 to 100 (0 or 1 for no change).";

// A document without a camera image (an average or a combination) or an image that
// would grow beyond the largest size cannot be resampled.
inline constexpr std::string_view kCannotResampleWarning =
    "The image of this document cannot be resampled.";

// The ratio of `text`: true for a number that is 0, or from 0.01 to 100. Anything
// else (no number, "", ".", beyond the range, not finite) is false.
bool ReadAspectRatio(std::string_view text, double& ratio);

}  // namespace orvale
