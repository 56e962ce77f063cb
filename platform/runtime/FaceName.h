#pragma once
// The face name of a text style is a fixed field of 32 characters: a longer name is
// cut, a shorter one padded with blanks; trailing blanks go when a font is made.
#include <cstddef>
#include <string>
#include <string_view>

namespace orvale {

inline constexpr std::size_t kFaceNameLength = 32;

// `name` cut to kFaceNameLength bytes (never inside a UTF-8 sequence) and padded with
// blanks to that length.
std::string FixedFaceName(std::string_view name);

// The name a font is made with: the field's first kFaceNameLength bytes less trailing
// blanks.
std::string_view TrimFaceName(std::string_view name);

}  // namespace orvale
