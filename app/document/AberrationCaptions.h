#pragma once
// The captions of the eight primary aberrations, in the order of the aberration vector
// (index 0 here is element 1 there) and of the automation aberration codes 0..7.
#include <array>
#include <string_view>

namespace orvale {

inline constexpr std::array<std::string_view, 8> AberrationCaptions = {
    "Tilt",        "Tilt (deg)", "Defocus",   "Astigmatism", "Astigmatism (deg)",
    "Coma",        "Coma (deg)", "Spherical",
};

}  // namespace orvale
