#pragma once
// The captions of the primary aberrations, indices 0..7 in the order of the aberration
// vector's elements 1..8 and of the automation's aberration codes 0..7.
#include <array>
#include <string_view>

namespace orvale {

inline constexpr std::array<std::string_view, 8> AberrationCaptions = {
    "Tilt", "Tilt (deg)", "Defocus", "Astigmatism", "Astigmatism (deg)", "Coma", "Coma (deg)",
    "Spherical"};

}  // namespace orvale
