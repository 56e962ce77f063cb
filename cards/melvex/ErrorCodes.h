#pragma once
// The toolkit's error codes and their texts. Every export returns one of these.
#include <cstdint>

namespace orvale::melvex {

namespace code {
inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kInUse = 1;
inline constexpr std::int32_t kNoCard = 2;
inline constexpr std::int32_t kNoDriver = 3;
inline constexpr std::int32_t kWrongModel = 4;
inline constexpr std::int32_t kNotInitialised = 5;
inline constexpr std::int32_t kNotConfigured = 6;
inline constexpr std::int32_t kSnapNotPrepared = 7;
inline constexpr std::int32_t kSnapNotStarted = 8;
inline constexpr std::int32_t kSnapNotFinished = 9;
inline constexpr std::int32_t kReadoutNotStarted = 10;
inline constexpr std::int32_t kNoSignal = 11;
inline constexpr std::int32_t kMonochrome = 12;
inline constexpr std::int32_t kOutsideImage = 13;
inline constexpr std::int32_t kOutOfRange = 14;
inline constexpr std::int32_t kWidthOutOfRange = 15;
inline constexpr std::int32_t kHeightOutOfRange = 16;
inline constexpr std::int32_t kBadPointer = 17;
inline constexpr std::int32_t kLostContact = 18;
inline constexpr std::int32_t kNoMemory = 19;
inline constexpr std::int32_t kFileError = 20;
}  // namespace code

// The text of `code`; "Unknown error" for a code outside the table. The text is a
// constant that lives as long as the program.
const char* ErrorText(std::int32_t code);

}  // namespace orvale::melvex
