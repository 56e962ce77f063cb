#include "cards/korrin/display/Palettes.h"

#include <algorithm>

#include "cards/korrin/hardware/LocalBus.h"
#include "cards/korrin/session/Status.h"
#include "cards/korrin/display/Windows.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale::korrin {
namespace {

gdi::PaletteHandle GreyPalette(Library& lib) {
  if (lib.greyPalette != gdi::PaletteHandle::None && gdi::IsPalette(lib.greyPalette)) return lib.greyPalette;
  // The first and last ten entries are the system's static colours, the rest grey.
  gdi::LogPalette grey;
  const auto& system = gdi::SystemPalette();
  for (int i = 0; i < 256; ++i) {
    if (i < 10 || i > 245) {
      grey.entries.push_back(system[i]);
    } else {
      const auto v = static_cast<std::uint8_t>(i);
      grey.entries.push_back({v, v, v, gdi::PC_NOCOLLAPSE});
    }
  }
  lib.greyPalette = gdi::CreatePalette(grey);
  return lib.greyPalette;
}

std::int32_t SelectInto(Library& lib, gdi::DeviceContext* dc, bool realise) {
  if (dc == nullptr) return kFail;
  const gdi::PaletteHandle palette = realise ? lib.currentPalette : gdi::kDefaultPalette;
  if (palette == gdi::PaletteHandle::None) return kFail;
  dc->SelectPalette(palette, false);
  if (realise) dc->RealizePalette();
  return kOk;
}

std::int32_t LoadLookupTable(Library& lib, int table, std::intptr_t argument) {
  if (!lib.Live().Located()) return kFail;
  LocalBus bus(lib);
  const std::uint32_t control = bus.Read(0xF900);
  bus.Write(0xF900, control & ~1u);
  bus.Write(kLutSelect, static_cast<std::uint32_t>(table));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(argument);
  for (int i = 0; i < 256; ++i) {
    std::uint32_t value;
    if (argument == 0) {
      value = static_cast<std::uint32_t>(i);
    } else if (argument == 1) {
      value = static_cast<std::uint32_t>(std::clamp(i, 10, 245));
    } else {
      value = bytes[i];
    }
    bus.Write(kLutData, value);
  }
  bus.Write(0xF900, control);
  return kOk;
}

}  // namespace

std::int32_t SetPalette(Library& lib, std::int32_t operation, std::intptr_t argument) {
  switch (operation) {
    case 0:
      lib.currentPalette = GreyPalette(lib);
      return StatusOf(lib.currentPalette != gdi::PaletteHandle::None);
    case 1:
      DeleteGreyPalette(lib);
      return kOk;
    case 2: {
      const auto palette = static_cast<gdi::PaletteHandle>(argument);
      if (!gdi::IsPalette(palette)) return kFail;
      lib.currentPalette = palette;
      return kOk;
    }
    case 3:
    case 4: {
      TrackedWindow* window = FindWindow(reinterpret_cast<KR_Window>(argument));
      if (window == nullptr) return kFail;
      return SelectInto(lib, window->Dc(), operation == 3);
    }
    case 5:
    case 6:
      return SelectInto(lib, reinterpret_cast<gdi::DeviceContext*>(argument), operation == 5);
    case 7:
    case 8:
    case 9:
    case 10:
      return LoadLookupTable(lib, operation - 7, argument);
    default:
      return kFail;
  }
}

void DeleteGreyPalette(Library& lib) {
  if (lib.greyPalette != gdi::PaletteHandle::None) gdi::DeletePalette(lib.greyPalette);
  if (lib.currentPalette == lib.greyPalette) lib.currentPalette = gdi::PaletteHandle::None;
  lib.greyPalette = gdi::PaletteHandle::None;
}

}  // namespace orvale::korrin
