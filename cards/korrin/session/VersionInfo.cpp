#include "cards/korrin/session/BoardFrame.h"
#include "cards/korrin/session/Status.h"

namespace orvale::korrin {

std::int32_t GetVersionInfo(Library& lib, KR_VersionInfo* info) {
  if (info == nullptr) return kFail;
  const FrameSettings& frame = lib.Settings().frame;
  constexpr std::uint16_t kLibraryWords[8] = {37, 0, 0, 1, 0, 50, 0, 0};
  for (int i = 0; i < 8; ++i) info->libraryWords[i] = kLibraryWords[i];
  info->configId = frame.configId;
  info->eepromValue32 = frame.value32;
  info->eepromValue16 = frame.value16;
  info->word26 = 3;
  info->word28 = 0;
  info->boardKind = static_cast<std::uint16_t>(frame.boardKind);
  info->eepromByte2 = frame.eeprom.header[0];
  return kOk;
}

}  // namespace orvale::korrin
