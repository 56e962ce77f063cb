#include "app/pictures/DWordAlign.h"

namespace orvale {

std::int64_t AlignToDWord(std::int64_t n) {
  const std::int64_t rest = n % 4;
  return rest == 0 ? n : n - rest + 4;
}

std::int64_t GetDWordPadding(std::int64_t n, std::int64_t& padding) {
  const std::int64_t aligned = AlignToDWord(n);
  padding = aligned - n;
  return aligned;
}

}  // namespace orvale
