// Putting DIBs on the clipboard, with the library palette when there is one. The DIB
// becomes the clipboard's only when it got there.
#include <vector>

#include "cards/melvex/DibBlock.h"
#include "cards/melvex/DibLayout.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ErrorMessages.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

std::int32_t ZelvoLibrary::ZLV_saveDIBToClipboard(ZLV_HDIB dib) {
  ExportScope scope(*this, export_name::ZLV_saveDIBToClipboard);
  if (dib == nullptr) return Fail(code::kBadPointer);
  LockedBlock bytes(memory_, dib);
  if (!bytes) return Fail(code::kNoMemory);
  const std::optional<DibView> view = CheckDib({bytes.Bytes(), bytes.Size()});
  if (!view) return Fail(code::kOutOfRange);
  std::vector<gdi::PaletteEntry> palette;
  if (palette_ != gdi::PaletteHandle::None) palette = gdi::PaletteEntries(palette_).value_or(palette);
  const std::span<const std::uint8_t> packed(bytes.Bytes(), view->Bytes());
  if (clipboard_ == nullptr || !clipboard_->PutDib(packed, palette)) {
    ShowErrorMessage(kCannotOpenClipboard);
    return Fail(code::kBadPointer);
  }
  bytes.Unlock();
  memory_.Free(dib);  // the clipboard holds its own copy now
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLV_readoutDIBToClipboard(const ZlvConfig* config) {
  ExportScope scope(*this, export_name::ZLV_readoutDIBToClipboard);
  ZLV_HDIB dib = nullptr;
  if (const std::int32_t rc = ZLV_readoutDIB(config, &dib)) return rc;
  const std::int32_t rc = ZLV_saveDIBToClipboard(dib);
  if (rc != code::kOk) memory_.Free(dib);  // still ours: the clipboard did not take it
  return rc;
}

}  // namespace orvale::melvex
