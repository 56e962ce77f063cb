#include "cards/korrin/session/ProfileStrings.h"

namespace orvale::korrin {

std::int32_t GetProfileString(Library& lib, const char* section, const char* key,
                              const char* defaultValue, char* buffer, std::int32_t size,
                              const char* fileName) {
  if (buffer == nullptr || size <= 0 || fileName == nullptr) return 0;
  return static_cast<std::int32_t>(lib.Profile().GetString(
      section, key, defaultValue, buffer, static_cast<std::uint32_t>(size), fileName));
}

std::int32_t WriteProfileString(Library& lib, const char* section, const char* key,
                                const char* value, const char* fileName) {
  return lib.Profile().WriteString(section, key, value, fileName) ? 1 : 0;
}

}  // namespace orvale::korrin
