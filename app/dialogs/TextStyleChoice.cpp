#include "app/dialogs/TextStyleChoice.h"

#include "platform/runtime/FaceName.h"

namespace orvale {

bool ChooseTextStyle(TextStyleSettings& style, const std::string& title, std::uint32_t flags) {
  FontDialogRequest request;
  request.Title = title;
  request.Flags = flags;
  request.Initial.FaceName = std::string(TrimFaceName(style.FaceName));
  request.Initial.Size = style.Size;
  request.Initial.Bold = style.Bold;
  request.Initial.Italic = style.Italic;
  request.Initial.Underline = style.Underline;
  request.Initial.Color = style.Color;
  const FontDialogAnswer answer = CurrentFontDialogService().ChooseFont(request);
  if (answer.Cancelled) return false;
  const FontChoice& choice = answer.Choice;
  style.FaceName = FixedFaceName(choice.FaceName);
  // The stored size's own range, so that the style is kept as it was chosen.
  style.Size = WholeSettingRange("ScreenText Size").Clamp(choice.Size);
  style.Bold = choice.Bold;
  style.Italic = choice.Italic;
  style.Underline = choice.Underline;
  style.Color = choice.Color & 0xFFFFFF;
  return true;
}

void EditedTextStyles::Choose(bool screen, std::uint32_t flags) {
  if (ChooseTextStyle(screen ? Screen : Printer, screen ? "Screen Font" : "Printer Font", flags))
    (screen ? ScreenChanged : PrinterChanged) = true;
}

}  // namespace orvale
