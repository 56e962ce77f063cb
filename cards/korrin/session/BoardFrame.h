#pragma once
// The board-state exports beside start-up: switching boards, the version record, the
// configuration saves and PCI configuration access.
#include <cstdint>

#include "cards/korrin/session/Library.h"
#include "korrin32.h"

namespace orvale::korrin {

std::int32_t MultiBoard(Library& lib, std::int16_t operation, std::int32_t countOrIndex);
std::int32_t GetVersionInfo(Library& lib, KR_VersionInfo* info);
std::int32_t PciConfig(Library& lib, std::int32_t operation, std::int32_t a, std::int32_t b,
                       std::int32_t c);

}  // namespace orvale::korrin
