#pragma once
// The profile-string exports: Windows private-profile calls on the shared profile files.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

std::int32_t GetProfileString(Library& lib, const char* section, const char* key,
                              const char* defaultValue, char* buffer, std::int32_t size,
                              const char* fileName);
std::int32_t WriteProfileString(Library& lib, const char* section, const char* key,
                                const char* value, const char* fileName);

}  // namespace orvale::korrin
