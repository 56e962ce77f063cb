#include "cards/melvex/ErrorCodes.h"

#include <array>

namespace orvale::melvex {

const char* ErrorText(std::int32_t code) {
  static constexpr std::array<const char*, 21> kTexts = {
      "No error",
      "Melvex Imaging Card toolkit is already in use",
      "No Melvex Imaging Card detected",
      "No Melvex Imaging Card driver detected",
      "This toolkit works only with LZ471 and LZ472",
      "Toolkit is not initialized",
      "Video digitizer is not configured",
      "Attempt to start snap before snap prepared",
      "Attempt to finish snap before snap started",
      "Attempt to read image before snap finished",
      "Attempt to read image before startReadout",
      "No video signal detected",
      "Attempt to read monochrome image as colour",
      "Attempt to read outside snapped image",
      "Parameter to function is out of range",
      "Image width is out of range",
      "Image height is out of range",
      "Bad pointer (possibly NULL)",
      "Lost contact with Melvex Imaging Card",
      "Could not claim the memory needed in function",
      "An error while reading or writing to file",
  };
  if (code < 0 || code >= static_cast<std::int32_t>(kTexts.size())) return "Unknown error";
  return kTexts[static_cast<std::size_t>(code)];
}

}  // namespace orvale::melvex
