#pragma once
// Section readers compare keys in lower case, whatever case the file uses.
#include <algorithm>
#include <cctype>
#include <string>

namespace orvale {

inline std::string LowerCaseKey(std::string token) {
  std::transform(token.begin(), token.end(), token.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return token;
}

}  // namespace orvale
