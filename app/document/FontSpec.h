#pragma once
// The text-style record of every title, label and report, and its conversion into a
// font description for a device.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gdi/Color.h"
#include "platform/gdi/LogFont.h"
#include "platform/runtime/FaceName.h"

namespace orvale {

namespace gdi {
class DeviceContext;
}

// Orientation codes of FontSpec::Escapement. Code 0 (or below) means: not drawn.
inline constexpr std::int32_t kTextHorizontal = 1;
inline constexpr std::int32_t kText270Degrees = 2;
inline constexpr std::int32_t kText90Degrees = 3;
inline constexpr std::int32_t kText180Degrees = 4;

struct FontSpec {
  std::string Caption;
  gdi::Color colour = 0;       // 0x00BBGGRR
  std::int32_t Size = 0;       // points
  std::int32_t Escapement = 0; // orientation code
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  std::string facename = FixedFaceName("");
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Fills `font` for drawing `style` on `dc`: the size becomes a character height in the
// device's vertical resolution. An orientation code outside 1..4 leaves lfEscapement
// as the caller set it.
void FontSpecToLogFont(const gdi::DeviceContext& dc, const FontSpec& style, gdi::LogFont& font);

}  // namespace orvale
