#include "app/document/FontSpec.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/runtime/NumberText.h"

namespace orvale {

void FontSpecToLogFont(const gdi::DeviceContext& dc, const FontSpec& style, gdi::LogFont& font) {
  const double dpi = dc.GetDeviceCaps(gdi::LOGPIXELSY);
  font.lfHeight = RoundToInt32(-(static_cast<double>(style.Size) * dpi) / 72.0);
  font.lfWidth = 0;
  font.lfOrientation = 0;
  switch (style.Escapement) {
    case kTextHorizontal: font.lfEscapement = 0; break;
    case kText270Degrees: font.lfEscapement = 2700; break;
    case kText90Degrees: font.lfEscapement = 900; break;
    case kText180Degrees: font.lfEscapement = 1800; break;
    default: break;
  }
  font.SetFaceName(TrimFaceName(style.facename));
  font.lfWeight = style.Bold ? gdi::FW_BOLD : gdi::FW_DONTCARE;
  // The flags are Booleans with all bits set for True; the font takes their low byte.
  font.lfItalic = style.Italic ? 0xFF : 0;
  font.lfUnderline = style.Underline ? 0xFF : 0;
  font.lfStrikeOut = 0;
  font.lfCharSet = gdi::ANSI_CHARSET;
  font.lfOutPrecision = gdi::OUT_TT_PRECIS;
  font.lfClipPrecision = 0;
  font.lfQuality = 0;
  font.lfPitchAndFamily = 0;
}

}  // namespace orvale
